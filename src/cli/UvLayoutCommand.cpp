#include "cli/Commands.h"
#include "cli/GroupChoice.h"
#include "cli/ModelOpener.h"

#include "editor/GroupVertices.h"
#include "editor/PaintTemplate.h"
#include "model/Model.h"
#include "platform/qt/QtImageFiles.h"
#include "textures/DecodedImage.h"
#include "textures/TextureLoader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace sw::cli {

// Writes the paint template of one group (after the remap asked for): the faces' outlines
// over one repeat of its texture, to be painted over and turned into the group's MAT.
int runUvLayout(const QStringList& arguments) {
    QTextStream err(stderr);
    GroupCommandLine commandLine("uvlayout", "OUT.png");
    QCommandLineParser& parser = commandLine.parser;
    const QCommandLineOption size("size", "image size", "WxH");
    const QCommandLineOption underlay("underlay", "the group's texture under the outlines");
    parser.addOptions({size, underlay});
    int width = 0;
    int height = 0;
    if (!commandLine.parse(arguments) ||
        (parser.isSet(size) && !parseSize(parser.value(size), kMaxTemplateSide, width, height))) {
        err << "Usage: skinweaver-cli uvlayout IN.3do OUT.png --mesh M --group G [--size WxH] "
               "[--underlay] [--direction front|back|top|bott|left|right|box] [--cmp "
               "PALETTE.cmp] [--textures PATH]...\n";
        return kExitUsage;
    }

    // Without upload the decoded pixels stay in the materials, for the underlay.
    Model model;
    if (const int result = commandLine.open(false, model); result != kExitOk)
        return result;

    const GroupChoice& choice = commandLine.choice();
    const Mesh& mesh = editor::meshOf(model, choice.mesh);
    const GlGroup& group = editor::groupOf(mesh, choice.group);
    const TemplateBase base = templateBaseOf(model, group);
    const Material* texture = base.texture;
    if (!parser.isSet(size)) {
        width = base.width;
        height = base.height;
    }
    RgbaPixels ground;
    if (parser.isSet(underlay) && !texture)
        err << "Group " << choice.group << " of mesh " << choice.mesh
            << " has no texture: the outlines are drawn on a transparent ground.\n";
    if (parser.isSet(underlay) && texture) {
        // A hand-over between the readers renamed the path, so its ending names the reader
        // that filled the pixels.
        ground = uprightImage(texture->width, texture->height, texture->pixels,
                              formatForPath(texture->path));
        if (ground.empty()) {
            err << "The texture of the group could not be converted for the underlay.\n";
            return kExitFailure;
        }
    }

    const RgbaPixels image = paintTemplate(mesh, group, width, height, &ground);
    const QString output = commandLine.output();
    if (image.empty()) {
        err << "No image of " << width << " x " << height << " pixels could be made.\n";
        return kExitFailure;
    }
    if (const std::string error =
            QtImageFiles().writePng(QFile::encodeName(output).toStdString(), image);
        !error.empty()) {
        err << output << ": the image could not be written: " << QString::fromStdString(error)
            << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
