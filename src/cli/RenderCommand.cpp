#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "app/Navigation.h"
#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"
#include "render/ModelView.h"
#include "render/ViewState.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include <GL/gl.h>

#include <cmath>

namespace sw::cli {

namespace {

// Thumbnails larger than this are refused rather than handed to the GL driver.
constexpr int kMaxSide = 8192;

struct RenderOptions {
    QString input;
    QString output;
    int width = 512;
    int height = 512;
    double yaw = 0;
    double pitch = 0;
    int zoom = 0;
    std::vector<std::string> textures; // further texture sources for this run
    std::string palette;
};

bool parseOptions(const QStringList& arguments, RenderOptions& options) {
    QCommandLineParser parser;
    const QCommandLineOption size("size", "image size", "WxH");
    const QCommandLineOption yaw("yaw", "turn about the vertical axis", "DEG");
    const QCommandLineOption pitch("pitch", "tilt", "DEG");
    const QCommandLineOption zoom("zoom", "zoom steps, -100 to 100", "STEPS");
    parser.addOptions({size, yaw, pitch, zoom});
    addTexturesOption(parser);
    addPaletteOption(parser);
    parser.addPositionalArgument("IN.3do", "the model to draw");
    parser.addPositionalArgument("OUT.png", "the image to write");
    if (!parser.parse(QStringList{"render"} + arguments) ||
        parser.positionalArguments().size() != 2)
        return false;
    options.input = parser.positionalArguments().at(0);
    options.output = parser.positionalArguments().at(1);
    options.textures = texturesOptionPaths(parser);
    options.palette = paletteOptionFile(parser);
    bool ok = true;
    if (parser.isSet(size)) {
        if (!parseSize(parser.value(size), kMaxSide, options.width, options.height))
            return false;
    }
    if (parser.isSet(yaw))
        options.yaw = parser.value(yaw).toDouble(&ok);
    if (ok && parser.isSet(pitch))
        options.pitch = parser.value(pitch).toDouble(&ok);
    if (ok && parser.isSet(zoom))
        options.zoom = parser.value(zoom).toInt(&ok);
    return ok && std::isfinite(options.yaw) && std::isfinite(options.pitch);
}

} // namespace

int runRender(const QStringList& arguments) {
    QTextStream err(stderr);
    RenderOptions options;
    if (!parseOptions(arguments, options)) {
        err << "Usage: skinweaver-cli render IN.3do OUT.png [--size WxH] [--yaw DEG] "
               "[--pitch DEG] [--zoom STEPS] [--cmp PALETTE.cmp] [--textures PATH]...\n";
        return kExitUsage;
    }

    const auto gl = HeadlessGl::create(options.width, options.height);
    if (!gl) {
        err << "No OpenGL context could be made for drawing off-screen.\n";
        return kExitFailure;
    }
    Model model;
    ModelOpener opener(true, options.textures, options.palette);
    if (const int result = opener.open(QFile::encodeName(options.input).toStdString(), model);
        result != kExitOk)
        return result;

    // The view as the editor shows it after "R", then turned and zoomed as asked.
    initGlState();
    setupProjection(options.width, options.height, true);
    ViewState view;
    resetView(view, model);
    view.yaw = angleStepWrapping(view.yaw, options.yaw);
    view.pitch = angleStepWrapping(view.pitch, options.pitch);
    stepZoom(view, options.zoom);

    beginFrame();
    applyCamera(view);
    drawModelView(model, view);
    glFinish();

    if (!imageOfFrame(gl->readPixels(), options.width, options.height)
             .save(options.output, "PNG")) {
        err << options.output << ": the image could not be written\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
