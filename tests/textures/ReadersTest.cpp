// The palette, MAT and BMP readers.

#include "support/Fakes.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace sw::test {
namespace {

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

// Every entry, as RRGGBB, sixteen to a line.
TEST(Palette, BuiltInTableHoldsTheGamesColours) {
    std::string table;
    char entry[8];
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = builtIn().entries[i];
        std::snprintf(entry, sizeof entry, "%02X%02X%02X", c.r, c.g, c.b);
        table += entry;
        table += i % 16 == 15 ? '\n' : ' ';
    }
    EXPECT_EQ(table, dataFile("palette.txt"));
}

// A file's name is found whatever its letter case; the label of the built-in table is known
// in any case too. A refused file is reported by its name (shown as it is, never as a format)
// and replaced by the built-in table, or by the colours in use once a file was loaded.
TEST(Palette, LoadsACmpFileOrTheBuiltInTable) {
    TempDir dir;
    dir.write("pal/game.cmp", cmpFile("CMP\x99 the rest of the header") + "not read");
    Preferences preferences;
    FakeMessageBox boxes;
    const auto load = [&](Palette& palette, const std::string& file) {
        boxes.clear();
        preferences.cmpFile = file;
        loadPalette(palette, preferences, boxes, Window::Main);
    };
    Palette palette;
    load(palette, (dir.path() / "PAL/Game.CMP").string());
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
    EXPECT_EQ(palette.entries[255], (Rgb{255, 0, 127}));
    load(palette, "DEFAULT (NO FILE NECESSARY)");
    EXPECT_EQ(palette.entries, builtIn().entries);
    EXPECT_TRUE(boxes.shown().empty());
    load(palette, dir.write("good.cmp", cmpFile()));
    for (const std::string& path :
         {dir.write("lower.cmp", cmpFile("cmp")), dir.write("short.cmp", cmpFile().substr(0, 831)),
          (dir.path() / "missing %s%n.cmp").string()}) {
        Palette fresh;
        load(fresh, path);
        EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                     {Window::Main, path, "Invalid CMP File", kMbOk}}));
        EXPECT_EQ(preferences.cmpFile, "Default (no file necessary)");
        EXPECT_EQ(fresh.entries, builtIn().entries) << path;
        load(palette, path);
        EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0})) << path;
    }
}

using Texels = std::vector<std::uint8_t>;

// Every index shows as its own colour.
Palette testPalette() {
    Palette palette;
    decodeCmp(asBytes(cmpFile()), palette);
    return palette;
}

TEST(MatReader, EightBitRowsAreStoredBottomUpAfterEveryCelRecord) {
    // Index bytes a, b on the top row and c, d below; mipmaps and garbage follow the image.
    // A record count below one stands for the one record every texture has.
    for (std::int32_t records : {-3, 0, 1, 2, 5, 8, 10}) {
        const std::string file = matTexture(2, 2, 8, "\x01\x02\x03\x04", records, "\x07\x07\x07");
        const DecodeResult result = decodeMat(asBytes(file), testPalette());
        ASSERT_TRUE(result) << records;
        EXPECT_TRUE(result.image.usesPalette);
        EXPECT_EQ(result.image.pixels, cmpColours({3, 4, 1, 2})) << records << " records";
    }
}

TEST(MatReader, RefusesDamagedFiles) {
    const std::string good = matTexture(2, 2, 16, std::string(8, '\x11'));
    const std::pair<std::string, DecodeError> cases[] = {
        {good.substr(0, 75), DecodeError::Truncated},
        {good.substr(0, 76 + 40 + 23), DecodeError::Truncated},
        {good.substr(0, good.size() - 1), DecodeError::Truncated},
        {matColour(3).substr(0, 76 + 7), DecodeError::Truncated},
        {withI32(good, 12, 0x7FFFFFFF), DecodeError::Truncated}, // records
        {matTexture(2, 2, 16, "abcd"), DecodeError::Truncated},
        {matColour(256), DecodeError::BadColourIndex},
        {matColour(-1), DecodeError::BadColourIndex},
        {matTexture(0, 2, 8, "abcd"), DecodeError::BadSize},
        {matTexture(2, -1, 8, "abcd"), DecodeError::BadSize},
        {matTexture(1 << 20, 1, 8, "abcd"), DecodeError::BadSize},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(decodeMat(asBytes(cases[i].first), testPalette()).error, cases[i].second)
            << "case " << i;
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

std::string decoded(const std::string& file) {
    const DecodeResult result = decodeBmp(asBytes(file));
    EXPECT_TRUE(result) << describeDecodeError(result.error);
    return {result.image.pixels.begin(), result.image.pixels.end()};
}

// Every layout becomes 24-bit bottom-up rows, each padded to 4 bytes.
TEST(BmpReader, DecodesEveryLayoutToTwentyFourBitBottomUpRows) {
    // 3 x 2: rows of 9 bytes padded to 12. The stored image size may be 0 or too small: the
    // buffer is sized from the rows.
    const std::string pixels =
        bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0});
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"24-bit", bmpFile(3, 2, 24, pixels), pixels},
        {"stored size 0", withI32(bmpFile(3, 2, 24, pixels), 34, 0), pixels},
        {"stored size 5", withI32(bmpFile(3, 2, 24, pixels), 34, 5), pixels},
        {"top-down", bmpFile(1, -2, 24, bytes({1, 2, 3, 0, 4, 5, 6, 0})),
         bytes({4, 5, 6, 0, 1, 2, 3, 0})},
        {"last row unpadded", bmpFile(1, 2, 24, bytes({1, 2, 3, 0, 4, 5, 6})),
         bytes({1, 2, 3, 0, 4, 5, 6, 0})},
        {"8-bit, index past the table", bmpFile(3, 1, 8, bytes({1, 0, 7, 0}), {0x102030, 0x405060}),
         bytes({0x60, 0x50, 0x40, 0x30, 0x20, 0x10, 0, 0, 0, 0, 0, 0})},
        {"4-bit", bmpFile(3, 1, 4, bytes({0x12, 0x30, 0, 0}), {0, 0xFF, 0xFF00, 0xFF0000}),
         bytes({0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0})},
        {"4-bit, more colours used than the table holds",
         withI32(bmpFile(1, 1, 4, bytes({0xF0, 0, 0, 0}), std::vector<std::uint32_t>(16, 0x0A0B0C)),
                 46, 20),
         bytes({0x0C, 0x0B, 0x0A, 0})},
        {"16-bit 5-5-5", bmpFile(2, 1, 16, bytes({0x00, 0x7C, 0x10, 0x00})),
         bytes({0, 0, 0xFF, 0x84, 0, 0, 0, 0})},
        {"16-bit 5-6-5",
         bmpFile(2, 1, 16, bytes({0xE0, 0x07, 0x00, 0x04}), {}, {0xF800, 0x07E0, 0x001F}),
         bytes({0, 0xFF, 0, 0, 0x82, 0, 0, 0})},
        {"32-bit", bmpFile(1, 1, 32, bytes({0x10, 0x20, 0x30, 0xFF})),
         bytes({0x10, 0x20, 0x30, 0})},
        {"32-bit R, G, B, A fields",
         bmpFile(1, 1, 32, bytes({0x99, 0x30, 0x20, 0x10}), {}, {0xFF000000, 0xFF0000, 0xFF00}),
         bytes({0x30, 0x20, 0x10, 0})},
    };
    for (const auto& [what, file, expected] : cases)
        EXPECT_EQ(decoded(file), expected) << what;
}

TEST(BmpReader, RefusesWhatItCannotShow) {
    const std::string good = bmpFile(2, 2, 24, std::string(16, 'x'));
    const std::string indexed = bmpFile(1, 1, 8, "abcd");
    const std::pair<std::string, DecodeError> cases[] = {
        {good.substr(0, 53), DecodeError::Truncated},
        {good.substr(0, good.size() - 3), DecodeError::Truncated},
        {withI32(good, 10, 0x7FFFFFF0), DecodeError::Truncated}, // pixel offset
        {withI32(good, 14, -1), DecodeError::Truncated},         // information header size
        {withI32(good, 22, 3), DecodeError::Truncated},          // height
        {withI32(indexed, 46, 200), DecodeError::Truncated},     // colours used
        {withI32(good, 14, 12), DecodeError::UnsupportedHeader},
        {withI32(good, 18, 0), DecodeError::BadSize},
        {withI32(good, 22, -0x7FFFFFFF - 1), DecodeError::BadSize},
        {withI32(indexed, 30, 1), DecodeError::Compressed}, // run-length 8-bit
        {withI32(good, 28, 7), DecodeError::UnsupportedBitCount},
        {withI32(good, 30, 3), DecodeError::UnsupportedBitCount}, // bit fields on 24 bits
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(decodeBmp(asBytes(cases[i].first)).error, cases[i].second) << "case " << i;
}

} // namespace
} // namespace sw::test
