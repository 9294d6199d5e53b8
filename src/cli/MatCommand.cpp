#include "cli/Commands.h"
#include "cli/ModelOpener.h"
#include "cli/StderrMessageBox.h"

#include "platform/qt/QtImageFiles.h"
#include "platform/qt/QtSettingsStore.h"
#include "textures/DecodedImage.h"
#include "textures/FileBytes.h"
#include "textures/MatWriter.h"
#include "textures/Palette.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace sw::cli {

namespace {

struct MatOptions {
    QString input;
    QString output;
    MatPixels format = MatPixels::Indexed;
    QString palette; // empty: the palette stored in the Preferences
};

bool parseOptions(const QStringList& arguments, MatOptions& options) {
    QCommandLineParser parser;
    const QCommandLineOption bits("bits", "8 (palette indices) or 16 (5-6-5 colour)", "8|16", "8");
    parser.addOption(bits);
    addPaletteOption(parser);
    parser.addPositionalArgument("IN", "a PNG or BMP image");
    parser.addPositionalArgument("OUT.mat", "the MAT file to write");
    if (!parser.parse(QStringList{"mat"} + arguments) || parser.positionalArguments().size() != 2)
        return false;
    options.input = parser.positionalArguments().at(0);
    options.output = parser.positionalArguments().at(1);
    options.palette = parser.value("cmp");
    if (parser.value(bits) == "16")
        options.format = MatPixels::Rgb565;
    return parser.value(bits) == "8" || parser.value(bits) == "16";
}

// The palette of an 8-bit file: the CMP file named, which is refused when it is no palette,
// for indices into the wrong palette would show the wrong colours; without one, the palette
// stored in the Preferences as the editor loads it, else the built-in one.
bool loadPalette(const QString& path, Palette& palette, QTextStream& err) {
    if (path.isEmpty()) {
        QtSettingsStore settings;
        Preferences preferences;
        preferences.cmpFile = storedPaletteFile(settings);
        StderrMessageBox messageBoxes;
        sw::loadPalette(palette, preferences, messageBoxes, Window::None);
        return true;
    }
    if (readCmpFile(QFile::encodeName(path).toStdString(), palette))
        return true;
    err << path << ": not a CMP palette\n";
    return false;
}

} // namespace

int runMat(const QStringList& arguments) {
    QTextStream err(stderr);
    MatOptions options;
    if (!parseOptions(arguments, options)) {
        err << "Usage: skinweaver-cli mat IN.png|IN.bmp OUT.mat [--bits 8|16] [--cmp "
               "PALETTE.cmp]\n";
        return kExitUsage;
    }
    Palette palette;
    if (options.format == MatPixels::Indexed && !loadPalette(options.palette, palette, err))
        return kExitFailure;
    const ImageRead read = QtImageFiles().read(QFile::encodeName(options.input).toStdString(),
                                               kMaxImageSide, kMaxImagePixels);
    if (read.status != ImageRead::Status::Read) {
        err << options.input << ": " << QString::fromStdString(describeImageRead(read)) << '\n';
        return kExitFailure;
    }
    const RgbaPixels& image = read.image;
    if (!hasPowerOfTwoSides(image.width, image.height))
        err << options.input << ": warning: the image is " << image.width << " x " << image.height
            << " pixels; the game's renderer wants sides that are powers of two\n";

    const EncodeResult encoded = encodeMat(viewOf(image), options.format, palette);
    if (!encoded) {
        err << options.input
            << (encoded.error == EncodeError::OutOfMemory
                    ? ": not enough memory to convert the image\n"
                    : ": the image cannot be written as a MAT\n");
        return kExitFailure;
    }
    // Written beside the target and renamed over it, so that a failure leaves no partial file.
    if (const std::string error =
            writeFileBytes(QFile::encodeName(options.output).toStdString(), encoded.bytes);
        !error.empty()) {
        err << options.output << ": cannot write the MAT file: " << QString::fromStdString(error)
            << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
