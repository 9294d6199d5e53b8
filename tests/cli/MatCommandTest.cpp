#include "Cli.h"

#include "support/TextureFiles.h"
#include "textures/MatWriter.h"
#include "textures/Palette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sw::test {
namespace {

using ::testing::HasSubstr;
using Pixels = std::vector<std::uint8_t>;

ProgramResult mat(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "mat");
    return cli(arguments);
}

// The MAT file the writer makes of an image as the image shows it.
std::string encoded(const QImage& image, MatPixels pixels, const Palette& palette) {
    Pixels rgba;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            for (int channel : {qRed(c), qGreen(c), qBlue(c), qAlpha(c)})
                rgba.push_back(static_cast<std::uint8_t>(channel));
        }
    }
    const EncodeResult file = encodeMat({image.width(), image.height(), rgba}, pixels, palette);
    return {file.bytes.begin(), file.bytes.end()};
}

class MatCommand : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    std::string save(const QImage& image, const std::string& name) const {
        EXPECT_TRUE(image.save(QString::fromStdString(path(name))));
        return path(name);
    }

    TempDir dir;
};

// The file holds the image top row first, through the built-in palette unless a palette file
// is given; a transparent pixel is kept as such and its colour as it was.
TEST_F(MatCommand, WritesTheImageAsTheWriterEncodesIt) {
    QImage painted(4, 2, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(0, 0, 0),        qRgb(255, 255, 255), qRgb(255, 0, 255),
                            qRgba(12, 34, 56, 0), qRgb(255, 0, 0),     qRgb(0, 255, 0),
                            qRgb(0, 0, 255),      qRgb(128, 128, 128)};
    for (int i = 0; i < 8; ++i)
        painted.setPixel(i % 4, i / 4, colours[i]);
    const std::string png = save(painted, "painted.png");
    Palette builtIn;
    buildDefaultPalette(builtIn);

    const auto eight = mat({png, path("eight.mat")});
    ASSERT_EQ(eight.exitCode, 0) << eight.err;
    EXPECT_EQ(eight.err, "");
    EXPECT_EQ(readFile(path("eight.mat")), encoded(painted, MatPixels::Indexed, builtIn));
    const auto sixteen = mat({png, path("sixteen.mat"), "--bits", "16"});
    ASSERT_EQ(sixteen.exitCode, 0) << sixteen.err;
    EXPECT_EQ(readFile(path("sixteen.mat")), encoded(painted, MatPixels::Rgb565, builtIn));

    // The same colours, opaque, from a BMP give the same 16-bit file.
    QImage opaque = painted.convertToFormat(QImage::Format_RGB32);
    opaque.setPixel(3, 0, qRgb(12, 34, 56));
    const auto bmp = mat({save(opaque, "painted.bmp"), path("bmp.mat"), "--bits", "16"});
    ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
    EXPECT_EQ(readFile(path("bmp.mat")), readFile(path("sixteen.mat")));

    // Sides that are not powers of two are written with a warning.
    Palette fromFile;
    decodeCmp(asBytes(cmpFile()), fromFile);
    QImage odd(3, 1, QImage::Format_RGB32);
    odd.fill(qRgb(10, 245, 5));
    const auto warned =
        mat({save(odd, "odd.png"), path("odd.mat"), "--cmp", dir.write("test.cmp", cmpFile())});
    ASSERT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_EQ(warned.err, path("odd.png") +
                              ": warning: the image is 3 x 1 pixels; the game's renderer wants "
                              "sides that are powers of two\n");
    EXPECT_EQ(readFile(path("odd.mat")), encoded(odd, MatPixels::Indexed, fromFile));
}

TEST_F(MatCommand, RefusesWhatItCannotConvertAndLeavesTheOutputAlone) {
    const std::string png = save(QImage(4, 4, QImage::Format_RGB32), "ok.png");
    const std::string text = dir.write("notes.png", "just some notes, no image");
    QImage wide(16385, 1, QImage::Format_Mono);
    wide.fill(0);
    QImage huge(8193, 8193, QImage::Format_Mono);
    huge.fill(0);
    const std::string out = dir.write("out.mat", "kept");

    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } rows[] = {
        {{text, out}, 1, "notes.png: not an image this program reads: "},
        {{path("missing.png"), out}, 1, "missing.png: cannot open the file"},
        {{save(wide, "wide.png"), out},
         1,
         "the image is 16385 x 1 pixels; a MAT this program "
         "reads has at most 16384 pixels a side"},
        {{save(huge, "huge.png"), out},
         1,
         "8193 x 8193 pixels; a MAT this program reads has at "
         "most 16384 pixels a side and 67108864 in all"},
        {{png, out, "--cmp", text}, 1, "notes.png: not a CMP palette"},
        {{png, path("no/such/folder/out.mat")}, 1, "out.mat: cannot write the MAT file: "},
    };
    for (const auto& row : rows) {
        const auto result = mat(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.message;
        EXPECT_THAT(result.err, HasSubstr(row.message));
        EXPECT_EQ(readFile(out), "kept") << row.message;
    }
    EXPECT_FALSE(std::filesystem::exists(path("no")));
}

} // namespace
} // namespace sw::test
