#pragma once

#include "editor/UvEditor.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QImage>
#include <QTextStream>

#include <cstdint>
#include <optional>
#include <vector>

namespace sw {
class Model;
}

namespace sw::cli {

class ModelOpener;

// The group of a model that remap, uvview and uvlayout work on: mesh and group numbered as
// the control panel's lists number them, from 0, and the side to remap it from first, or the
// box remap.
struct GroupChoice {
    int mesh = -1;
    int group = -1;
    std::optional<RemapDirection> direction;
    bool box = false;

    bool remaps() const { return direction || box; }
};

// The command line of the commands that work on one group: IN, OUT, --mesh M, --group G,
// --direction D and --textures PATH, with whatever options the command adds to `parser`
// before parse().
class GroupCommandLine {
public:
    GroupCommandLine(const char* name, const char* outputName);

    QCommandLineParser parser;

    // False (the command then prints its usage) when IN or OUT is missing or one too many,
    // --mesh or --group is missing or not a number, or the direction is unknown ("box" is the
    // box remap).
    bool parse(const QStringList& arguments);
    const GroupChoice& choice() const { return choice_; }
    QString output() const { return parser.positionalArguments().at(1); }
    // Opens IN as the editor does (uploading its textures to the current GL context when
    // asked), checks that it has the chosen group and remaps that when asked: kExitOk, or the
    // exit code once the reason has been printed.
    int open(bool upload, Model& model) const;

private:
    const char* name_;
    GroupChoice choice_;
    QCommandLineOption mesh_{"mesh", "the mesh, numbered from 0", "M"};
    QCommandLineOption group_{"group", "the texture group of the mesh, numbered from 0", "G"};
    QCommandLineOption direction_{"direction", "front, back, top, bott, left, right or box", "D"};
};

// The direction a control panel's button names ("front", ..., "bott", ...).
std::optional<RemapDirection> directionNamed(const QString& name);

// False, with the reason printed, when the model has no such mesh or group.
bool groupExists(const Model& model, const GroupChoice& choice, QTextStream& err);

// Remaps the chosen group when a direction (or the box remap) was given. False, with the reason
// printed through the message boxes, when the remap could not be done.
bool remapIfAsked(Model& model, const GroupChoice& choice, MessageBoxService& messages);

// "WxH" with both sides from 1 to maxSide.
bool parseSize(const QString& text, int maxSide, int& width, int& height);

// GL's colour buffer, bottom row first as glReadPixels gives it, as an image with its top
// row first.
QImage imageOfFrame(const std::vector<std::uint8_t>& pixels, int width, int height);

} // namespace sw::cli
