#include "cli/ModelOpener.h"

#include "cli/Commands.h"
#include "model/Model.h"

#include <QByteArray>
#include <QFile>
#include <QTextStream>

#include <filesystem>

namespace sw::cli {

ModelOpener::ModelOpener(bool upload) : textures_(palette_, preferences_) {
    buildDefaultPalette(palette_);
    textures_.setUploadEnabled(upload);
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
    if (!model.prepare(textures_.function(), messageBoxes_)) {
        err << "Error initializing model.\n";
        if (!model.preparationError().empty())
            err << QFile::decodeName(QByteArray::fromStdString(model.preparationError())) << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
