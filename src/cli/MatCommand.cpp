#include "cli/Commands.h"

#include "textures/DecodedImage.h"
#include "textures/FileBytes.h"
#include "textures/MatWriter.h"
#include "textures/Palette.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QTextStream>

namespace sw::cli {

namespace {

// Qt refuses to decode images of more than 128 MB by default. The largest image the MAT reader
// takes, decoded with 16 bits per channel and alpha, needs 8 bytes a pixel.
constexpr int kDecodeLimitMb = static_cast<int>(kMaxImagePixels * 8 >> 20);

struct MatOptions {
    QString input;
    QString output;
    MatPixels format = MatPixels::Indexed;
    QString palette; // empty: the built-in palette
};

bool parseOptions(const QStringList& arguments, MatOptions& options) {
    QCommandLineParser parser;
    const QCommandLineOption bits("bits", "8 (palette indices) or 16 (5-6-5 colour)", "8|16", "8");
    const QCommandLineOption cmp("cmp", "the palette of 8-bit MAT files", "PALETTE.cmp");
    parser.addOptions({bits, cmp});
    parser.addPositionalArgument("IN", "a PNG or BMP image");
    parser.addPositionalArgument("OUT.mat", "the MAT file to write");
    if (!parser.parse(QStringList{"mat"} + arguments) || parser.positionalArguments().size() != 2)
        return false;
    options.input = parser.positionalArguments().at(0);
    options.output = parser.positionalArguments().at(1);
    options.palette = parser.value(cmp);
    if (parser.value(bits) == "16")
        options.format = MatPixels::Rgb565;
    return parser.value(bits) == "8" || parser.value(bits) == "16";
}

// The palette of an 8-bit file: the CMP file named, else the built-in one. A file that is no
// palette is refused, for indices into the wrong palette would show the wrong colours.
bool loadPalette(const QString& path, Palette& palette, QTextStream& err) {
    if (path.isEmpty()) {
        buildDefaultPalette(palette);
        return true;
    }
    const FileBytes file = readFileBytes(QFile::encodeName(path).toStdString());
    if (file.status == FileStatus::Read && decodeCmp(file.bytes, palette))
        return true;
    err << path << ": not a CMP palette\n";
    return false;
}

QString sizeText(QSize size) {
    return QString("%1 x %2").arg(size.width()).arg(size.height());
}

bool tooLarge(QSize size, const QString& input, QTextStream& err) {
    if (withinImageLimits(size.width(), size.height()))
        return false;
    err << input << ": the image is " << sizeText(size)
        << " pixels; a MAT this program reads has at most " << kMaxImageSide
        << " pixels a side and " << kMaxImagePixels << " in all\n";
    return true;
}

// The image with R, G, B, A bytes per pixel, or a null image after saying why.
QImage readImage(const QString& input, QTextStream& err) {
    // Pipes and devices could keep the reader waiting; only files are read.
    if (!QFileInfo(input).isFile()) {
        err << input << ": cannot open the file\n";
        return {};
    }
    QImageReader::setAllocationLimit(kDecodeLimitMb);
    QImageReader reader(input);
    reader.setDecideFormatFromContent(true);
    // Most formats know their size from the header: refuse before decoding.
    if (reader.size().isValid() && tooLarge(reader.size(), input, err))
        return {};
    const QImage image = reader.read();
    if (image.isNull()) {
        err << input << ": not an image this program reads: " << reader.errorString() << '\n';
        return {};
    }
    if (tooLarge(image.size(), input, err))
        return {};
    QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull())
        err << input << ": not enough memory to convert the image\n";
    return rgba;
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
    const QImage image = readImage(options.input, err);
    if (image.isNull())
        return kExitFailure;
    if (!hasPowerOfTwoSides(image.width(), image.height()))
        err << options.input << ": warning: the image is " << sizeText(image.size())
            << " pixels; the game's renderer wants sides that are powers of two\n";

    const RgbaImage pixels{image.width(),
                           image.height(),
                           {image.constBits(), static_cast<std::size_t>(image.sizeInBytes())}};
    const EncodeResult encoded = encodeMat(pixels, options.format, palette);
    if (!encoded) {
        err << options.input
            << (encoded.error == EncodeError::OutOfMemory
                    ? ": not enough memory to convert the image\n"
                    : ": the image cannot be written as a MAT\n");
        return kExitFailure;
    }
    // Written beside the target and renamed over it, so that a failure leaves no partial file.
    QSaveFile file(options.output);
    const auto size = static_cast<qint64>(encoded.bytes.size());
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(encoded.bytes.data()), size) != size ||
        !file.commit()) {
        err << options.output << ": cannot write the MAT file: " << file.errorString() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace sw::cli
