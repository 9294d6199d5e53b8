#include "cli/Commands.h"
#include "cli/StderrMessageBox.h"

#include "model/Model.h"
#include "textures/Palette.h"
#include "textures/Preferences.h"
#include "textures/TextureLoader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include <filesystem>

namespace sw::cli {

namespace {

// Opens IN as the editor's Open command does (textures searched beside it, with the default
// preferences and the built-in palette), optionally recalculates the insert offset, and saves
// the model to OUT as the Save command does.
int resave(const char* name, const QStringList& arguments, bool recalculateOffset) {
    QCommandLineParser parser;
    parser.addPositionalArgument("IN.3do", "the model to read");
    parser.addPositionalArgument("OUT.3do", "the file to write");
    QTextStream err(stderr);
    if (!parser.parse(QStringList{name} + arguments) || parser.positionalArguments().size() != 2) {
        err << "Usage: skinweaver-cli " << name << " IN.3do OUT.3do\n";
        return kExitUsage;
    }
    const QString output = parser.positionalArguments().at(1);
    const std::string inPath = QFile::encodeName(parser.positionalArguments().at(0)).toStdString();

    Model model;
    if (!model.load(inPath)) {
        err << "Error loading file.\n";
        return kExitFailure;
    }

    const Preferences preferences;
    Palette palette;
    buildDefaultPalette(palette);
    TextureLoader textures(palette, preferences);
    std::filesystem::path folder = std::filesystem::absolute(inPath).parent_path();
    folder += std::filesystem::path::preferred_separator;
    textures.setDirectory(folder.string());
    // Nothing is drawn here, so no GL context is made: the images are only decoded, for
    // their sizes.
    textures.setUploadEnabled(false);
    StderrMessageBox messageBoxes;
    if (!model.prepare(textures.function(), messageBoxes)) {
        err << "Error initializing model.\n";
        if (!model.preparationError().empty())
            err << QFile::decodeName(QByteArray::fromStdString(model.preparationError())) << '\n';
        return kExitFailure;
    }

    // As "Re-calculate character offset" does: the character's feet on the ground.
    if (recalculateOffset)
        model.insertOffset = {0, 0, model.zMin};

    if (!model.save(QFile::encodeName(output).toStdString())) {
        err << output << ": the model could not be written\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int runResave(const QStringList& arguments) {
    return resave("resave", arguments, false);
}

int runOffset(const QStringList& arguments) {
    return resave("offset", arguments, true);
}

} // namespace sw::cli
