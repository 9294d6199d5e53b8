#include "cli/Commands.h"
#include "cli/ModelOpener.h"

#include "model/Model.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace sw::cli {

namespace {

// Opens IN as the editor's Open command does (textures searched beside it and in the texture
// sources, with the default preferences and the built-in palette), optionally recalculates the
// insert offset, and saves the model to OUT as the Save command does.
int resave(const char* name, const QStringList& arguments, bool recalculateOffset) {
    QCommandLineParser parser;
    parser.addPositionalArgument("IN.3do", "the model to read");
    parser.addPositionalArgument("OUT.3do", "the file to write");
    addTexturesOption(parser);
    QTextStream err(stderr);
    if (!parser.parse(QStringList{name} + arguments) || parser.positionalArguments().size() != 2) {
        err << "Usage: skinweaver-cli " << name << " IN.3do OUT.3do [--textures PATH]...\n";
        return kExitUsage;
    }
    const QString output = parser.positionalArguments().at(1);
    const std::string inPath = QFile::encodeName(parser.positionalArguments().at(0)).toStdString();

    Model model;
    // Nothing is drawn here, so no GL context is made: the images are only decoded, for
    // their sizes.
    ModelOpener opener(false, texturesOptionPaths(parser));
    if (const int result = opener.open(inPath, model); result != kExitOk)
        return result;

    // As "Re-calculate character offset" does: the character's feet on the ground.
    if (recalculateOffset)
        model.insertOffset = {0, 0, model.zMin};

    return saveModel(model, output);
}

} // namespace

int runResave(const QStringList& arguments) {
    return resave("resave", arguments, false);
}

int runOffset(const QStringList& arguments) {
    return resave("offset", arguments, true);
}

} // namespace sw::cli
