#include "textures/MatReader.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

using Texels = std::vector<std::uint8_t>;

// Every index shows as its own colour.
Palette testPalette() {
    Palette palette;
    decodeCmp(asBytes(cmpFile()), palette);
    return palette;
}

TEST(MatReader, ColourMaterialIsEightByEightOfItsEntry) {
    const DecodeResult result = decodeMat(asBytes(matColour(16)), testPalette());
    ASSERT_TRUE(result);
    EXPECT_EQ(result.image.width, 8);
    EXPECT_EQ(result.image.height, 8);
    EXPECT_TRUE(result.image.usesPalette);
    EXPECT_EQ(result.image.pixels, cmpColours(std::vector<int>(64, 16)));
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

TEST(MatReader, SixteenBitTexelsTakeFiveBitsPerChannel) {
    // Low byte first; red bits 15-11, green 10-6, blue 4-0, bit 5 unused. The five bits of
    // blue 0, 1, 5, 16, 30 and 31 follow.
    const std::string bytes("\xFF\xFF\x1F\x00\x20\x00\x00\xF8\xC0\x07\x00\x00\x01\x00\x05\x00"
                            "\x10\x00\x1E\x00\x1F\x00",
                            22);
    const DecodeResult result = decodeMat(asBytes(matTexture(11, 1, 16, bytes)), testPalette());
    ASSERT_TRUE(result);
    EXPECT_FALSE(result.image.usesPalette);
    EXPECT_EQ(result.image.pixels,
              Texels({254, 254, 254, 0, 0, 254, 0,  0, 0, 254, 0, 0, 0,   254, 0, 0,  0,
                      0,   0,   0,   8, 0, 0,   41, 0, 0, 131, 0, 0, 246, 0,   0, 254}));
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

} // namespace
} // namespace sw::test
