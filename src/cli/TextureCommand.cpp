#include "cli/Commands.h"
#include "cli/ModelOpener.h"
#include "cli/StderrMessageBox.h"

#include "platform/qt/QtImageFiles.h"
#include "textures/BmpReader.h"
#include "textures/FileBytes.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

#include <new>

namespace sw::cli {

namespace {

// Decodes the image file `input` and writes it to `output` as PNG.
int convert(const QString& input, const QString& output, const Palette& palette, QTextStream& err) {
    const std::string path = QFile::encodeName(input).toStdString();
    const FileBytes file = readFileBytes(path);
    if (file.status != FileStatus::Read) {
        err << input
            << (file.status == FileStatus::TooLarge ? ": the file is too large\n"
                                                    : ": cannot open the file\n");
        return kExitFailure;
    }
    // The reader is chosen by the name's last letter, as for a texture file chosen by hand.
    const TextureFormat format = formatForPath(path);
    const DecodeResult decoded =
        format == TextureFormat::Bmp ? decodeBmp(file.bytes) : decodeMat(file.bytes, palette);
    if (!decoded) {
        err << input << ": not a " << (format == TextureFormat::Bmp ? "BMP" : "MAT")
            << " image this program reads: " << describeDecodeError(decoded.error) << '\n';
        return kExitFailure;
    }
    const DecodedImage& image = decoded.image;
    const RgbaPixels upright = uprightImage(image.width, image.height, image.pixels, format);
    if (!QtImageFiles().writePng(QFile::encodeName(output).toStdString(), upright).empty()) {
        err << output << ": cannot write the PNG file\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int runTexture(const QStringList& arguments) {
    QCommandLineParser parser;
    addPaletteOption(parser);
    parser.addPositionalArgument("IMAGE", "a MAT or BMP file");
    parser.addPositionalArgument("OUT.png", "the PNG file to write");
    QTextStream err(stderr);
    if (!parser.parse(QStringList{"texture"} + arguments) ||
        parser.positionalArguments().size() != 2) {
        err << "Usage: skinweaver-cli texture IMAGE OUT.png [--cmp PALETTE.cmp]\n";
        return kExitUsage;
    }

    // The palette is loaded as the Preferences window's "ok" loads it: a file that is no
    // palette is reported, and the built-in table stands in.
    StderrMessageBox messageBoxes;
    Preferences preferences;
    if (parser.isSet("cmp"))
        preferences.cmpFile = QFile::encodeName(parser.value("cmp")).toStdString();
    Palette palette;
    loadPalette(palette, preferences, messageBoxes, Window::None);

    const QString input = parser.positionalArguments().at(0);
    const QString output = parser.positionalArguments().at(1);
    try {
        return convert(input, output, palette, err);
    } catch (const std::bad_alloc&) {
        err << input << ": the image is too large to hold in memory\n";
        return kExitFailure;
    }
}

} // namespace sw::cli
