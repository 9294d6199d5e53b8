#pragma once

#include "cli/StderrMessageBox.h"
#include "textures/Palette.h"
#include "textures/Preferences.h"
#include "textures/TextureLoader.h"

#include <QString>

#include <string>
#include <vector>

class QCommandLineParser;

namespace sw {
class Model;
}

namespace sw::cli {

// The repeatable option "--textures PATH" of the commands that open a model: a folder or GOB
// archive searched for textures in this run only, ahead of the stored sources, and not stored.
void addTexturesOption(QCommandLineParser& parser);
// The paths given to it, made absolute, in their order.
std::vector<std::string> texturesOptionPaths(const QCommandLineParser& parser);

// The option "--cmp PALETTE.cmp" of the commands that show or convert 8-bit textures.
void addPaletteOption(QCommandLineParser& parser);
// The palette of the run: the file given with --cmp, else the one stored in the editor's
// Preferences (as the editor finds it at its start), else kDefaultPaletteLabel, the built-in
// one.
std::string paletteOptionFile(const QCommandLineParser& parser);

// Opens a model as the editor's Open command does: read, then prepared with its textures
// searched beside it, in the game's layout around it and in the texture sources, with the
// default preferences and the palette given (the built-in one unless told otherwise; a file
// that is no palette is reported, and the built-in one stands in). Failures are printed on stderr
// with the editor's texts, and each texture source skipped with why. Saves the model as the Save
// command does: kExitOk, or kExitFailure with the reason printed.
int saveModel(Model& model, const QString& output);

class ModelOpener {
public:
    // With upload, the textures become GL textures of the context current at open().
    // `runSources` come ahead of the stored texture sources.
    explicit ModelOpener(bool upload, std::vector<std::string> runSources = {},
                         std::string paletteFile = std::string(kDefaultPaletteLabel));
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
