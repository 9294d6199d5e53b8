// skinweaver-cli: batch jobs over the editor's core, without a window.

#include "cli/Commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <array>

namespace {

using sw::cli::Command;

constexpr std::array kCommands{
    Command{"info", "MODEL.3do", "print a JSON summary of a model", &sw::cli::runInfo},
    Command{"texture", "IMAGE OUT.png [--cmp PALETTE.cmp]",
            "decode a MAT or BMP file (8-bit MATs through the palette) and write it as PNG",
            &sw::cli::runTexture},
    Command{"resave", "IN.3do OUT.3do [--textures PATH]...",
            "open a model as the editor does (textures searched beside it, in ../mat and in "
            "the texture sources) and save it",
            &sw::cli::runResave},
    Command{"offset", "IN.3do OUT.3do [--textures PATH]...",
            "as resave, with the insert offset recalculated so that a character stands on the "
            "ground",
            &sw::cli::runOffset},
    Command{"render",
            "IN.3do OUT.png [--size WxH] [--yaw DEG] [--pitch DEG] [--zoom STEPS] "
            "[--cmp PALETTE.cmp] [--textures PATH]...",
            "draw the model as the editor's 3D view shows it, off-screen, into a PNG thumbnail",
            &sw::cli::runRender},
    Command{"remap", "IN.3do OUT.3do --mesh M --group G --direction D [--textures PATH]",
            "remap one texture group from a side (front, back, top, bott, left, right) as the "
            "control panel's Auto remap does, or from every side (box) as its \"box\" does, and "
            "save",
            &sw::cli::runRemap},
    Command{"uvview",
            "IN.3do OUT.png --mesh M --group G [--size WxH] [--direction D] [--cmp PALETTE.cmp] "
            "[--textures PATH]",
            "draw the texture view of one group as the editor shows it, off-screen, into a PNG",
            &sw::cli::runUvView},
    Command{"uvlayout",
            "IN.3do OUT.png --mesh M --group G [--size WxH] [--underlay] [--direction D] "
            "[--cmp PALETTE.cmp]",
            "write a paint template of one group: its faces' outlines over one repeat of the "
            "texture, optionally on the texture itself",
            &sw::cli::runUvLayout},
    Command{"mat", "IN.png|IN.bmp OUT.mat [--bits 8|16] [--cmp PALETTE.cmp]",
            "convert an image to a texture MAT (8-bit through the palette, or 16-bit 5-6-5)",
            &sw::cli::runMat},
    Command{"sources", "list | add PATH | remove PATH",
            "list, add or remove the folders and GOB archives searched for textures that are "
            "neither beside a model nor in its ../mat folder (the editor's Texture sources)",
            &sw::cli::runSources},
};

int usage() {
    QTextStream err(stderr);
    err << "Usage: skinweaver-cli <command> [arguments]\n\nCommands:\n";
    for (const Command& command : kCommands)
        err << "  " << command.name << ' ' << command.usage << "\n      " << command.summary
            << '\n';
    return sw::cli::kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("skinweaver-cli");
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return usage();
    const QString name = arguments.takeFirst();
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    }
    return usage();
}
