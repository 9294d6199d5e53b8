#include "textures/MatReader.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw {
namespace {

using test::asBytes;
using test::matColour;
using test::matTexture;

// Entry i is (i, 255 - i, i / 2), so every index gives its own colour.
Palette testPalette() {
    Palette palette;
    for (std::size_t i = 0; i < palette.entries.size(); ++i)
        palette.entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i / 2)};
    return palette;
}

std::vector<std::uint8_t> rgb(std::initializer_list<Rgb> texels) {
    std::vector<std::uint8_t> bytes;
    for (const Rgb& t : texels)
        bytes.insert(bytes.end(), {t.r, t.g, t.b});
    return bytes;
}

Rgb entry(std::uint8_t i) {
    return testPalette().entries[i];
}

TEST(MatReader, ColourMaterialIsEightByEightOfItsPaletteEntry) {
    const DecodeResult result = decodeMat(asBytes(matColour(16)), testPalette());
    ASSERT_TRUE(result);
    EXPECT_EQ(result.image.width, 8);
    EXPECT_EQ(result.image.height, 8);
    EXPECT_TRUE(result.image.usesPalette);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 64; ++i)
        expected.insert(expected.end(), {16, 239, 8});
    EXPECT_EQ(result.image.pixels, expected);
}

TEST(MatReader, EightBitRowsAreStoredBottomUp) {
    // Index bytes a, b on the first (top) row and c, d on the second.
    const DecodeResult result =
        decodeMat(asBytes(matTexture(2, 2, 8, "\x01\x02\x03\x04")), testPalette());
    ASSERT_TRUE(result);
    EXPECT_TRUE(result.image.usesPalette);
    EXPECT_EQ(result.image.pixels, rgb({entry(3), entry(4), entry(1), entry(2)}));
}

TEST(MatReader, SixTexelRowsCarryNoPadding) {
    std::string indices;
    for (char i = 0; i < 12; ++i)
        indices += i;
    const DecodeResult result = decodeMat(asBytes(matTexture(6, 2, 8, indices)), testPalette());
    ASSERT_TRUE(result);
    ASSERT_EQ(result.image.pixels.size(), 6u * 2 * 3);
    EXPECT_EQ(
        std::vector<std::uint8_t>(result.image.pixels.begin(), result.image.pixels.begin() + 3),
        rgb({entry(6)}));
    EXPECT_EQ(std::vector<std::uint8_t>(result.image.pixels.begin() + 18,
                                        result.image.pixels.begin() + 21),
              rgb({entry(0)}));
}

struct SixteenBitCase {
    std::uint8_t low;
    std::uint8_t high;
    Rgb expected;
};

class MatSixteenBit : public testing::TestWithParam<SixteenBitCase> {};

TEST_P(MatSixteenBit, ConvertsFiveBitChannels) {
    const auto& c = GetParam();
    const std::string pixel{static_cast<char>(c.low), static_cast<char>(c.high)};
    const DecodeResult result = decodeMat(asBytes(matTexture(1, 1, 16, pixel)), testPalette());
    ASSERT_TRUE(result);
    EXPECT_FALSE(result.image.usesPalette);
    EXPECT_EQ(result.image.pixels, rgb({c.expected}));
}

INSTANTIATE_TEST_SUITE_P(Pixels, MatSixteenBit,
                         testing::Values(SixteenBitCase{0xFF, 0xFF, {254, 254, 254}},
                                         SixteenBitCase{0x1F, 0x00, {0, 0, 254}},
                                         SixteenBitCase{0x20, 0x00, {0, 0, 0}}, // bit 5 unused
                                         SixteenBitCase{0x00, 0xF8, {254, 0, 0}},
                                         SixteenBitCase{0xC0, 0x07, {0, 254, 0}}, // bits 10-6
                                         SixteenBitCase{0x01, 0x08, {8, 0, 8}}));

TEST(MatReader, FiveBitChannelsMapByTheGamesTable) {
    const std::uint8_t expected[32] = {0,   8,   16,  24,  32,  41,  49,  57,  65,  74,  82,
                                       90,  98,  106, 115, 123, 131, 139, 148, 156, 164, 172,
                                       180, 189, 197, 205, 213, 222, 230, 238, 246, 254};
    std::string pixels;
    for (int v = 0; v < 32; ++v)
        pixels += std::string{static_cast<char>(v), 0};
    const DecodeResult result = decodeMat(asBytes(matTexture(32, 1, 16, pixels)), testPalette());
    ASSERT_TRUE(result);
    for (int v = 0; v < 32; ++v)
        EXPECT_EQ(result.image.pixels[static_cast<std::size_t>(v) * 3 + 2], expected[v])
            << "v=" << v;
}

TEST(MatReader, SkipsEveryCelRecordAndIgnoresWhatFollowsTheFirstImage) {
    const std::string mipmapsAndGarbage(40, '\x07');
    for (std::int32_t records : {0, 1, 2, 5, 8, 10}) {
        const DecodeResult result = decodeMat(
            asBytes(matTexture(2, 1, 8, "\x09\x0A", records, mipmapsAndGarbage)), testPalette());
        ASSERT_TRUE(result) << records << " records";
        EXPECT_EQ(result.image.pixels, rgb({entry(9), entry(10)})) << records << " records";
    }
}

TEST(MatReader, RefusesDamagedFiles) {
    const std::string good = matTexture(2, 2, 16, std::string(8, '\x11'));
    struct Case {
        const char* what;
        std::string bytes;
        DecodeError error;
    };
    const Case cases[] = {
        {"empty", "", DecodeError::Truncated},
        {"header cut", good.substr(0, 75), DecodeError::Truncated},
        {"image header cut", good.substr(0, 76 + 40 + 23), DecodeError::Truncated},
        {"last texel cut", good.substr(0, good.size() - 1), DecodeError::Truncated},
        {"colour record cut", matColour(3).substr(0, 76 + 7), DecodeError::Truncated},
        {"colour index 256", matColour(256), DecodeError::BadColourIndex},
        {"colour index -1", matColour(-1), DecodeError::BadColourIndex},
        {"width 0", matTexture(0, 2, 8, "abcd"), DecodeError::BadSize},
        {"height -1", matTexture(2, -1, 8, "abcd"), DecodeError::BadSize},
        {"width beyond the limit", matTexture(1 << 20, 1, 8, "abcd"), DecodeError::BadSize},
        {"more texels than bytes", matTexture(100, 100, 8, "abcd"), DecodeError::Truncated},
        {"records beyond the file", test::withI32(matTexture(1, 1, 8, "a"), 12, 0x7FFFFFFF),
         DecodeError::Truncated},
        {"16-bit with bytes for 8-bit", matTexture(2, 2, 16, "abcd"), DecodeError::Truncated},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeMat(asBytes(c.bytes), testPalette()).error, c.error) << c.what;
}

} // namespace
} // namespace sw
