#include "cli/ModelOpener.h"

#include "cli/Commands.h"
#include "model/Model.h"
#include "model/SaveWarning.h"
#include "platform/qt/QtSettingsStore.h"
#include "textures/TextureSources.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <filesystem>

namespace sw::cli {

namespace {

QCommandLineOption texturesOption() {
    return {"textures", "a folder or GOB archive also searched for textures (repeatable)", "PATH"};
}

QCommandLineOption paletteOption() {
    return {"cmp", "the palette of 8-bit MAT files", "PALETTE.cmp"};
}

} // namespace

void addTexturesOption(QCommandLineParser& parser) {
    parser.addOption(texturesOption());
}

std::vector<std::string> texturesOptionPaths(const QCommandLineParser& parser) {
    std::vector<std::string> paths;
    for (const QString& value : parser.values(texturesOption()))
        paths.push_back(QFile::encodeName(QFileInfo(value).absoluteFilePath()).toStdString());
    return paths;
}

void addPaletteOption(QCommandLineParser& parser) {
    parser.addOption(paletteOption());
}

std::string paletteOptionFile(const QCommandLineParser& parser) {
    if (parser.isSet(paletteOption()))
        return QFile::encodeName(parser.value(paletteOption())).toStdString();
    QtSettingsStore settings;
    return storedPaletteFile(settings);
}

ModelOpener::ModelOpener(bool upload, std::vector<std::string> runSources, std::string paletteFile)
    : textures_(palette_, preferences_) {
    preferences_.cmpFile = std::move(paletteFile);
    loadPalette(palette_, preferences_, messageBoxes_, Window::None);
    textures_.setUploadEnabled(upload);
    QtSettingsStore settings;
    for (std::string& stored : loadTextureSources(settings))
        runSources.push_back(std::move(stored));
    textures_.setSources(std::move(runSources));
}

int ModelOpener::open(const std::string& path, Model& model) {
    QTextStream err(stderr);
    if (!model.load(path)) {
        err << "Error loading file.\n";
        return kExitFailure;
    }
    std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
    folder += std::filesystem::path::preferred_separator;
    textures_.setDirectory(folder.string());
    const bool prepared = model.prepare(textures_.function(), messageBoxes_);
    for (const std::string& problem : textures_.sourceProblems())
        err << "Texture source skipped: " << QFile::decodeName(QByteArray::fromStdString(problem))
            << '\n';
    if (!prepared) {
        err << "Error initializing model.\n";
        if (!model.preparationError().empty())
            err << QFile::decodeName(QByteArray::fromStdString(model.preparationError())) << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int saveModel(Model& model, const QString& output) {
    // A batch job asks nothing: it says what the save cannot keep and writes as the editor does.
    if (const std::string warning = untexturedEditsWarning(model); !warning.empty())
        QTextStream(stderr) << "warning: " << QString::fromStdString(warning) << '\n';
    if (model.save(QFile::encodeName(output).toStdString()))
        return kExitOk;
    QTextStream(stderr) << output << ": the model could not be written\n"
                        << QFile::decodeName(QByteArray::fromStdString(model.saveError())) << '\n';
    return kExitFailure;
}

} // namespace sw::cli
