#include "Cli.h"

#include "support/TextureFiles.h"
#include "textures/MatReader.h"
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

class MatCommand : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    // The MAT file `name` as this program's reader shows it: R, G, B, bottom row first.
    Pixels readBack(const std::string& name, const Palette& palette, int width, int height) {
        const DecodeResult decoded = decodeMat(asBytes(readFile(path(name))), palette);
        EXPECT_TRUE(decoded) << name;
        EXPECT_EQ(decoded.image.width, width) << name;
        EXPECT_EQ(decoded.image.height, height) << name;
        return decoded.image.pixels;
    }

    std::string save(const QImage& image, const std::string& name) const {
        EXPECT_TRUE(image.save(QString::fromStdString(path(name))));
        return path(name);
    }

    TempDir dir;
};

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

TEST_F(MatCommand, PaintedImagesReadBackAsTheirQuantisedColours) {
    // Top row: black, white, magenta, a transparent pixel; bottom row: red, green, blue, grey.
    QImage painted(4, 2, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(0, 0, 0),        qRgb(255, 255, 255), qRgb(255, 0, 255),
                            qRgba(12, 34, 56, 0), qRgb(255, 0, 0),     qRgb(0, 255, 0),
                            qRgb(0, 0, 255),      qRgb(128, 128, 128)};
    for (int i = 0; i < 8; ++i)
        painted.setPixel(i % 4, i / 4, colours[i]);
    const std::string png = save(painted, "painted.png");

    // 8 bits through the built-in palette: the transparent pixel takes entry 0, grey the
    // nearest grey of the palette.
    const auto eight = mat({png, path("eight.mat")});
    ASSERT_EQ(eight.exitCode, 0) << eight.err;
    EXPECT_EQ(eight.err, "");
    EXPECT_EQ(readBack("eight.mat", builtIn(), 4, 2),
              Pixels({255, 0, 0, 0,   255, 0,   0,   0, 255, 131, 131, 131,  // bottom row
                      0,   0, 0, 255, 255, 255, 255, 0, 255, 0,   0,   0})); // top row

    const auto sixteen = mat({png, path("sixteen.mat"), "--bits", "16"});
    ASSERT_EQ(sixteen.exitCode, 0) << sixteen.err;
    EXPECT_EQ(readBack("sixteen.mat", builtIn(), 4, 2),
              Pixels({254, 0, 0, 0,   254, 0,   0,   0, 254, 131, 131, 131,
                      0,   0, 0, 254, 254, 254, 254, 0, 254, 8,   32,  57}));

    // The same colours, opaque, from a BMP give the same 16-bit file.
    QImage opaque = painted.convertToFormat(QImage::Format_RGB32);
    opaque.setPixel(3, 0, qRgb(12, 34, 56));
    const auto bmp = mat({save(opaque, "painted.bmp"), path("bmp.mat"), "--bits", "16"});
    ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
    EXPECT_EQ(readFile(path("bmp.mat")), readFile(path("sixteen.mat")));

    // A palette file replaces the built-in one; sides that are not powers of two are written
    // with a warning.
    const std::string cmp = dir.write("test.cmp", cmpFile());
    Palette fromFile;
    decodeCmp(asBytes(cmpFile()), fromFile);
    QImage odd(3, 1, QImage::Format_RGB32);
    for (int x = 0; x < 3; ++x) {
        const Pixels entry = cmpColours({10 + 90 * x});
        odd.setPixel(x, 0, qRgb(entry[0], entry[1], entry[2]));
    }
    const auto warned = mat({save(odd, "odd.png"), path("odd.mat"), "--cmp", cmp});
    ASSERT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_EQ(warned.err, path("odd.png") +
                              ": warning: the image is 3 x 1 pixels; the game's renderer wants "
                              "sides that are powers of two\n");
    EXPECT_EQ(readBack("odd.mat", fromFile, 3, 1), cmpColours({10, 100, 190}));
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
        {{dir.path().string(), out}, 1, ": cannot open the file"},
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
