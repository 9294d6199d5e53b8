#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <GL/gl.h>

namespace sw::cli {

namespace {

// Images larger than this are refused rather than handed to the GL driver.
constexpr int kMaxSide = 8192;

} // namespace

// Draws the texture view of one group, off-screen, exactly as the editor shows it when that
// group is chosen (after the remap asked for).
int runUvView(const QStringList& arguments) {
    QTextStream err(stderr);
    GroupCommandLine commandLine("uvview", "OUT.png");
    const QCommandLineOption size("size", "image size", "WxH");
    commandLine.parser.addOption(size);
    int width = 512;
    int height = 512;
    if (!commandLine.parse(arguments) ||
        (commandLine.parser.isSet(size) &&
         !parseSize(commandLine.parser.value(size), kMaxSide, width, height))) {
        err << "Usage: skinweaver-cli uvview IN.3do OUT.png --mesh M --group G [--size WxH] "
               "[--direction front|back|top|bott|left|right|box] [--cmp PALETTE.cmp] "
               "[--textures PATH]...\n";
        return kExitUsage;
    }

    const auto gl = HeadlessGl::create(width, height);
    if (!gl) {
        err << "No OpenGL context could be made for drawing off-screen.\n";
        return kExitFailure;
    }
    Model model;
    if (const int result = commandLine.open(true, model); result != kExitOk)
        return result;

    const UvEditor editor(model, commandLine.choice().mesh, commandLine.choice().group);
    const ViewMapping view = editor.mapping(model, {width, height});
    initGlState();
    editor.setProjection(view);
    beginFrame();
    editor.draw(model, view);
    glFinish();

    const QString output = commandLine.output();
    if (!imageOfFrame(gl->readPixels(), width, height).save(output, "PNG")) {
        err << output << ": the image could not be written\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
