#include "textures/MatWriter.h"
#include "support/TextureFiles.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

using Pixels = std::vector<std::uint8_t>;

constexpr std::size_t kPixelsOffset = 76 + 40 + 24;

std::string asString(const Pixels& bytes) {
    return {bytes.begin(), bytes.end()};
}

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

TEST(MatWriter, WritesOneTextureRecordAndOneImageTopRowFirst) {
    // One pixel wide, two high: black above white.
    const Pixels rgba{0, 0, 0, 255, 255, 255, 255, 255};
    const RgbaImage image{1, 2, rgba};
    Bytes record;
    record.i32(8).i32(0).u32(0x3F800000).u32(0x3F800000).u32(0x3F800000).u32(0x3F800000);
    record.zeros(12).i32(0);
    const std::string imageHeader = Bytes().i32(1).i32(2).zeros(12).i32(1).str();

    const EncodeResult indexed = encodeMat(image, MatPixels::Indexed, builtIn());
    ASSERT_TRUE(indexed);
    const Bytes indexedHeader =
        Bytes().raw("MAT ").i32(0x32).i32(2).i32(1).i32(1).i32(0).i32(8).zeros(48);
    // Black is entry 0 and white entry 16 of the built-in palette.
    EXPECT_EQ(asString(indexed.bytes),
              indexedHeader.str() + record.str() + imageHeader + std::string("\x00\x10", 2));

    const EncodeResult rgb = encodeMat(image, MatPixels::Rgb565, builtIn());
    ASSERT_TRUE(rgb);
    Bytes rgbHeader = Bytes().raw("MAT ").i32(0x32).i32(2).i32(1).i32(1).i32(1).i32(16);
    rgbHeader.i32(5).i32(6).i32(5).i32(11).i32(5).i32(0).i32(3).i32(2).i32(3).zeros(12);
    EXPECT_EQ(asString(rgb.bytes),
              rgbHeader.str() + record.str() + imageHeader + std::string("\x00\x00\xFF\xFF", 4));
}

// The pixels of a one-row image written: the pixel bytes of the file, and the colours the
// reader shows for them.
std::pair<Pixels, Pixels> roundTrip(const std::vector<Pixels>& pixels, MatPixels format,
                                    const Palette& palette) {
    Pixels rgba;
    for (const Pixels& pixel : pixels)
        rgba.insert(rgba.end(), pixel.begin(), pixel.end());
    const int width = static_cast<int>(pixels.size());
    const EncodeResult file = encodeMat({width, 1, rgba}, format, palette);
    EXPECT_TRUE(file);
    const DecodeResult decoded = decodeMat(file.bytes, palette);
    EXPECT_TRUE(decoded);
    EXPECT_EQ(decoded.image.width, width);
    return {
        Pixels(file.bytes.begin() + std::min(kPixelsOffset, file.bytes.size()), file.bytes.end()),
        decoded.image.pixels};
}

// Each row is one pixel: the file must hold its index, and the reader show that index's colour.
TEST(MatWriter, EightBitsTakeTheNearestPaletteColourAndTheLowerIndexOnATie) {
    Palette palette;
    palette.entries.fill({255, 255, 255});
    const Rgb firstColours[] = {{0, 0, 0},   {200, 0, 0},   {0, 200, 0}, {100, 100, 100},
                                {200, 0, 0}, {60, 60, 200}, {0, 0, 100}};
    std::copy(std::begin(firstColours), std::end(firstColours), palette.entries.begin());
    const std::pair<Pixels, std::uint8_t> rows[] = {
        {{200, 0, 0, 255}, 1},     // an exact colour that entry 4 repeats
        {{255, 255, 255, 255}, 7}, // the first of 249 equal entries
        {{100, 0, 0, 255}, 0},     // as far from entry 0 as from entry 1
        {{101, 0, 0, 255}, 1},     // one step nearer to entry 1
        {{0, 0, 200, 255}, 5},     // squared distance 7200 to entry 5 beats 10000 to entry 6
        {{0, 200, 0, 0}, 0},       // transparent, though entry 2's colour
        {{0, 200, 0, 1}, 2},       // alpha 1 is not transparent
    };
    std::vector<Pixels> pixels;
    Pixels indices;
    Pixels shown;
    for (const auto& [rgba, index] : rows) {
        pixels.push_back(rgba);
        indices.push_back(index);
        const Rgb colour = palette.entries[index];
        shown.insert(shown.end(), {colour.r, colour.g, colour.b});
    }
    EXPECT_EQ(roundTrip(pixels, MatPixels::Indexed, palette), std::pair(indices, shown));
}

// Each row: a pixel, the 16-bit value written (red bits 15-11, green 10-5, blue 4-0, low byte
// first) and the colour the reader shows for it.
TEST(MatWriter, SixteenBitsRoundEachChannelToItsNearestLevel) {
    const struct {
        Pixels rgba;
        std::uint16_t value;
        Rgb shown;
    } rows[] = {
        {{0, 0, 0, 255}, 0x0000, {0, 0, 0}},
        {{255, 255, 255, 255}, 0xFFFF, {254, 254, 254}},
        {{37, 0, 0, 255}, 0x2000, {32, 0, 0}}, // 4.498 levels of red
        {{4, 0, 0, 255}, 0x0000, {0, 0, 0}},
        {{5, 0, 0, 255}, 0x0800, {8, 0, 0}},
        {{0, 3, 0, 255}, 0x0020, {0, 0, 0}}, // green's lowest bit, which only the game sees
        {{0, 7, 0, 255}, 0x0040, {0, 8, 0}},
        {{0, 0, 127, 255}, 0x000F, {0, 0, 123}},
        {{128, 128, 128, 255}, 0x8410, {131, 131, 131}},
        {{10, 20, 30, 0}, 0x08A4, {8, 16, 32}}, // alpha plays no part
    };
    std::vector<Pixels> pixels;
    Pixels values;
    Pixels shown;
    for (const auto& row : rows) {
        pixels.push_back(row.rgba);
        values.insert(values.end(), {static_cast<std::uint8_t>(row.value),
                                     static_cast<std::uint8_t>(row.value >> 8)});
        shown.insert(shown.end(), {row.shown.r, row.shown.g, row.shown.b});
    }
    EXPECT_EQ(roundTrip(pixels, MatPixels::Rgb565, builtIn()), std::pair(values, shown));
}

} // namespace
} // namespace sw::test
