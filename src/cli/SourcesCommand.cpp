#include "cli/Commands.h"

#include "platform/qt/QtSettingsStore.h"
#include "textures/TextureSources.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <string>
#include <vector>

namespace sw::cli {

namespace {

QString shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string absolute(const QString& path) {
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

} // namespace

// The editor's Texture sources, kept in the same settings: "list" prints them in search
// order, one per line; "add" appends a folder or an archive that a load would not skip;
// "remove" takes one out, named as listed or by a path to it.
int runSources(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString action = arguments.value(0);
    const bool withPath = action == "add" || action == "remove";
    if (!(action == "list" && arguments.size() == 1) && !(withPath && arguments.size() == 2)) {
        err << "Usage: skinweaver-cli sources list | add PATH | remove PATH\n";
        return kExitUsage;
    }
    QtSettingsStore settings;
    std::vector<std::string> sources = loadTextureSources(settings);
    if (action == "list") {
        for (const std::string& source : sources)
            out << shown(source) << '\n';
        return kExitOk;
    }

    const std::string given = QFile::encodeName(arguments.at(1)).toStdString();
    const std::string path = absolute(arguments.at(1));
    if (action == "add") {
        if (std::find(sources.begin(), sources.end(), path) != sources.end())
            return kExitOk;
        if (const std::string why = textureSourceProblem(path); !why.empty()) {
            err << "Not added: " << shown(path) << ": " << shown(why) << '\n';
            return kExitFailure;
        }
        sources.push_back(path);
    } else {
        auto listed = std::find(sources.begin(), sources.end(), given);
        if (listed == sources.end())
            listed = std::find(sources.begin(), sources.end(), path);
        if (listed == sources.end()) {
            err << shown(given) << ": not a texture source\n";
            return kExitFailure;
        }
        sources.erase(listed);
    }
    saveTextureSources(sources, settings);
    return kExitOk;
}

} // namespace sw::cli
