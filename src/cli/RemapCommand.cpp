#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "editor/UvEditor.h"
#include "model/Model.h"

#include <QTextStream>

#include <optional>

namespace sw::cli {

namespace {

// The turn of --rotate in quarter turns counter-clockwise, as the texture view shows the
// texture: 90 is a turn left.
std::optional<int> quarterTurns(const QString& degrees) {
    if (degrees == "90")
        return 1;
    if (degrees == "180")
        return 2;
    if (degrees == "270")
        return 3;
    return std::nullopt;
}

} // namespace

// Opens IN as the editor does, remaps one group from one side as its Auto remap buttons do (or
// from every side, as its "box" does), turns or mirrors the whole group when asked (after the
// remap, as the Edit menu's items turn a selection of all its vertices), and saves the model to OUT
// as the Save command does.
int runRemap(const QStringList& arguments) {
    GroupCommandLine commandLine("remap", "OUT.3do");
    const QCommandLineOption rotate("rotate", "turn the group left by 90, 180 or 270 degrees",
                                    "DEGREES");
    const QCommandLineOption flip("flip", "mirror the group along u (left to right) or v", "AXIS");
    commandLine.parser.addOptions({rotate, flip});
    const bool parsed = commandLine.parse(arguments);
    const QString degrees = commandLine.parser.value(rotate);
    const QString axis = commandLine.parser.value(flip);
    if (!parsed || !commandLine.choice().remaps() ||
        (commandLine.parser.isSet(rotate) && !quarterTurns(degrees)) ||
        (commandLine.parser.isSet(flip) && axis != "u" && axis != "v")) {
        QTextStream(stderr)
            << "Usage: skinweaver-cli remap IN.3do OUT.3do --mesh M --group G "
               "--direction front|back|top|bott|left|right|box [--rotate 90|180|270] "
               "[--flip u|v] [--textures PATH]...\n";
        return kExitUsage;
    }
    Model model;
    if (const int result = commandLine.open(false, model); result != kExitOk)
        return result;
    if (commandLine.parser.isSet(rotate) || commandLine.parser.isSet(flip)) {
        UvEditor editor(model, commandLine.choice().mesh, commandLine.choice().group);
        editor.selectAll(model);
        if (commandLine.parser.isSet(rotate))
            editor.rotateSelection(model, *quarterTurns(degrees));
        if (commandLine.parser.isSet(flip))
            editor.flipSelection(model, axis == "u");
    }
    return saveModel(model, commandLine.output());
}

} // namespace sw::cli
