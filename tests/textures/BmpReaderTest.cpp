#include "textures/BmpReader.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

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

TEST(BmpReader, TwentyFourBitBottomUpRowsStayAsStored) {
    // 3 x 2: rows of 9 bytes padded to 12. The stored image size may be 0 or too small: the
    // buffer is sized from the rows.
    const std::string pixels =
        bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0});
    for (std::int32_t stored : {24, 0, 5}) {
        const DecodeResult result =
            decodeBmp(asBytes(withI32(bmpFile(3, 2, 24, pixels), 34, stored)));
        ASSERT_TRUE(result);
        EXPECT_EQ(result.image.width, 3);
        EXPECT_EQ(result.image.height, 2);
        EXPECT_FALSE(result.image.usesPalette);
        EXPECT_EQ(std::string(result.image.pixels.begin(), result.image.pixels.end()), pixels);
    }
}

TEST(BmpReader, OtherLayoutsBecomeTwentyFourBitBottomUpRows) {
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"top-down", bmpFile(1, -2, 24, bytes({1, 2, 3, 0, 4, 5, 6, 0})),
         bytes({4, 5, 6, 0, 1, 2, 3, 0})},
        {"last row unpadded", bmpFile(1, 2, 24, bytes({1, 2, 3, 0, 4, 5, 6})),
         bytes({1, 2, 3, 0, 4, 5, 6, 0})},
        {"8-bit, index past the table", bmpFile(3, 1, 8, bytes({1, 0, 7, 0}), {0x102030, 0x405060}),
         bytes({0x60, 0x50, 0x40, 0x30, 0x20, 0x10, 0, 0, 0, 0, 0, 0})},
        {"4-bit", bmpFile(3, 1, 4, bytes({0x12, 0x30, 0, 0}), {0, 0xFF, 0xFF00, 0xFF0000}),
         bytes({0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0})},
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
        {withI32(good, 18, -2), DecodeError::BadSize},
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
