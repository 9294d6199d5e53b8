#pragma once

#include "cli/StderrMessageBox.h"
#include "textures/Palette.h"
#include "textures/Preferences.h"
#include "textures/TextureLoader.h"

#include <string>

namespace sw {
class Model;
}

namespace sw::cli {

// Opens a model as the editor's Open command does: read, then prepared with its textures
// searched beside it, the default preferences and the built-in palette. Failures are printed
// on stderr with the editor's texts.
class ModelOpener {
public:
    // With upload, the textures become GL textures of the context current at open().
    explicit ModelOpener(bool upload);
    // kExitOk, or kExitFailure after the message was printed.
    int open(const std::string& path, Model& model);
    // Where the editor's message boxes go: stderr.
    MessageBoxService& messageBoxes() { return messageBoxes_; }

private:
    Preferences preferences_;
    Palette palette_;
    TextureLoader textures_;
    StderrMessageBox messageBoxes_;
};

} // namespace sw::cli
