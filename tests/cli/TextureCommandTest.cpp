#include "Cli.h"

#include "support/TextureFiles.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sw::test {
namespace {

QRgb colour(const std::vector<std::uint8_t>& rgb) {
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

// The PNG shows the texture upright: a MAT's first row on top, a BMP's last.
TEST(TextureCommand, WritesMatAndBmpImagesUprightAsPng) {
    TempDir dir;
    const std::string mat = dir.write("wall.mat", matTexture(2, 2, 8, "\x01\x02\x03\x04"));
    const std::string out = (dir.path() / "out.png").string();
    const auto indexed = cli({"texture", mat, out, "--cmp", dir.write("pal.cmp", cmpFile())});
    ASSERT_EQ(indexed.exitCode, 0) << indexed.err;
    EXPECT_EQ(indexed.err, "");
    const QImage shown = image(out);
    ASSERT_EQ(shown.size(), QSize(2, 2));
    EXPECT_EQ(shown.pixel(0, 0), colour(cmpColours({1})));
    EXPECT_EQ(shown.pixel(1, 0), colour(cmpColours({2})));
    EXPECT_EQ(shown.pixel(0, 1), colour(cmpColours({3})));

    const std::string bmp =
        dir.write("rock.bmp", bmpFile(1, 2, 24, std::string("\1\2\3\0\4\5\6\0", 8)));
    ASSERT_EQ(cli({"texture", bmp, out}).exitCode, 0);
    EXPECT_EQ(image(out).pixel(0, 1), qRgb(3, 2, 1));
    EXPECT_EQ(image(out).pixel(0, 0), qRgb(6, 5, 4));

    // A palette that is no CMP file is reported, and the built-in one stands in.
    const std::string notes = dir.write("notes.cmp", "notes");
    const auto builtIn =
        cli({"texture", dir.write("white.mat", matColour(16)), out, "--cmp", notes});
    EXPECT_EQ(builtIn.exitCode, 0);
    EXPECT_EQ(builtIn.err, "Invalid CMP File: " + notes + "\n");
    EXPECT_EQ(image(out).pixel(7, 7), qRgb(255, 255, 255));
}

TEST(TextureCommand, RefusesWhatItCannotDecodeAndWritesNothing) {
    TempDir dir;
    const std::string out = (dir.path() / "out.png").string();
    const std::string notes = dir.write("notes.mat", "notes");
    const auto garbage = cli({"texture", notes, out});
    EXPECT_EQ(garbage.exitCode, 1);
    EXPECT_EQ(garbage.err.rfind(notes + ": not a MAT image this program reads: ", 0), 0u)
        << garbage.err;
    const std::string missing = (dir.path() / "missing.bmp").string();
    const auto absent = cli({"texture", missing, out});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.err, missing + ": cannot open the file\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace sw::test
