#include "textures/BmpReader.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::asBytes;
using test::bmpFile;
using test::BmpSpec;
using test::Bytes;

std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(BmpReader, TwentyFourBitRowsKeepTheirPadding) {
    // 3 x 2: rows of 9 bytes padded to 12, bottom row first.
    const std::string pixels("\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0"
                             "\x11\x12\x13\x14\x15\x16\x17\x18\x19\0\0\0",
                             24);
    const DecodeResult result =
        decodeBmp(asBytes(bmpFile({.width = 3, .height = 2, .pixels = pixels})));
    ASSERT_TRUE(result);
    EXPECT_EQ(result.image.width, 3);
    EXPECT_EQ(result.image.height, 2);
    EXPECT_FALSE(result.image.usesPalette);
    EXPECT_EQ(result.image.pixels, bytesOf(pixels));
}

struct ConversionCase {
    const char* what;
    BmpSpec spec;
    std::string expected; // 24-bit B, G, R rows padded to 4 bytes, bottom row first
};

class BmpConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(BmpConversion, GivesTwentyFourBitBottomUpRows) {
    const ConversionCase& c = GetParam();
    const DecodeResult result = decodeBmp(asBytes(bmpFile(c.spec)));
    ASSERT_TRUE(result) << describeDecodeError(result.error);
    EXPECT_EQ(result.image.pixels, bytesOf(c.expected));
}

std::string s(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BmpConversion,
    testing::Values(
        ConversionCase{"top-down rows are flipped",
                       {.width = 1, .height = -2, .pixels = s({1, 2, 3, 0, 4, 5, 6, 0})},
                       s({4, 5, 6, 0, 1, 2, 3, 0})},
        ConversionCase{"8-bit through its own colour table; indices past it are black",
                       {.width = 3,
                        .height = 1,
                        .bitCount = 8,
                        .colours = {0x102030, 0x405060},
                        .coloursUsed = 2,
                        .pixels = s({1, 0, 7, 0})},
                       s({0x60, 0x50, 0x40, 0x30, 0x20, 0x10, 0, 0, 0, 0, 0, 0})},
        ConversionCase{"4-bit, high nibble first",
                       {.width = 3,
                        .height = 1,
                        .bitCount = 4,
                        .colours = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000},
                        .coloursUsed = 4,
                        .pixels = s({0x12, 0x30, 0, 0})},
                       s({0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0})},
        ConversionCase{"1-bit, high bit first",
                       {.width = 2,
                        .height = 1,
                        .bitCount = 1,
                        .colours = {0x000000, 0xFFFFFF},
                        .pixels = s({0x80, 0, 0, 0})},
                       s({0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0})},
        ConversionCase{
            "16-bit 5-5-5",
            {.width = 2, .height = 1, .bitCount = 16, .pixels = s({0x00, 0x7C, 0x10, 0x00})},
            s({0, 0, 0xFF, 0x84, 0, 0, 0, 0})},
        ConversionCase{"16-bit 5-6-5 bit fields",
                       {.width = 2,
                        .height = 1,
                        .bitCount = 16,
                        .compression = 3,
                        .masks = {0xF800, 0x07E0, 0x001F},
                        .pixels = s({0xE0, 0x07, 0x00, 0x04})},
                       s({0, 0xFF, 0, 0, 0x82, 0, 0, 0})},
        ConversionCase{
            "32-bit B, G, R and a spare byte",
            {.width = 1, .height = 1, .bitCount = 32, .pixels = s({0x10, 0x20, 0x30, 0xFF})},
            s({0x10, 0x20, 0x30, 0})},
        ConversionCase{"32-bit bit fields R, G, B, A",
                       {.width = 1,
                        .height = 1,
                        .bitCount = 32,
                        .compression = 3,
                        .masks = {0xFF000000, 0x00FF0000, 0x0000FF00},
                        .pixels = s({0x99, 0x30, 0x20, 0x10})},
                       s({0x30, 0x20, 0x10, 0})},
        ConversionCase{"the last row may lack its padding",
                       {.width = 1, .height = 2, .pixels = s({1, 2, 3, 0, 4, 5, 6})},
                       s({1, 2, 3, 0, 4, 5, 6, 0})}),
    [](const testing::TestParamInfo<ConversionCase>& info) { return std::to_string(info.index); });

TEST(BmpReader, SizesTheBufferFromRowsNotFromTheStoredImageSize) {
    // biSizeImage 0 is allowed for uncompressed files, and a smaller one must not shrink the
    // buffer below what the upload reads.
    for (std::int32_t stored : {0, 5}) {
        const std::string file = test::withI32(
            bmpFile({.width = 3, .height = 2, .pixels = std::string(24, 'x')}), 34, stored);
        const DecodeResult result = decodeBmp(asBytes(file));
        ASSERT_TRUE(result);
        EXPECT_EQ(result.image.pixels.size(), 24u);
    }
}

TEST(BmpReader, RefusesWhatItCannotShow) {
    const std::string good = bmpFile({.width = 2, .height = 2, .pixels = std::string(16, 'x')});
    struct Case {
        const char* what;
        std::string bytes;
        DecodeError error;
    };
    const Case cases[] = {
        {"headers cut", good.substr(0, 53), DecodeError::Truncated},
        {"pixel data cut", good.substr(0, good.size() - 3), DecodeError::Truncated},
        {"pixel offset past the end", test::withI32(good, 10, 0x7FFFFFF0), DecodeError::Truncated},
        {"information header past the end", test::withI32(good, 14, -1), DecodeError::Truncated},
        {"OS/2 header", test::withI32(good, 14, 12), DecodeError::UnsupportedHeader},
        {"width 0", test::withI32(good, 18, 0), DecodeError::BadSize},
        {"width negative", test::withI32(good, 18, -2), DecodeError::BadSize},
        {"height 0", test::withI32(good, 22, 0), DecodeError::BadSize},
        {"height most negative", test::withI32(good, 22, std::numeric_limits<std::int32_t>::min()),
         DecodeError::BadSize},
        {"height beyond the data", test::withI32(good, 22, 3), DecodeError::Truncated},
        {"run-length 8-bit",
         bmpFile(
             {.width = 2, .height = 1, .bitCount = 8, .compression = 1, .pixels = s({2, 1, 0, 0})}),
         DecodeError::Compressed},
        {"7 bits per pixel", bmpFile({.width = 2, .height = 1, .bitCount = 7, .pixels = "abcd"}),
         DecodeError::UnsupportedBitCount},
        {"bit fields on 24 bits",
         bmpFile({.width = 1, .height = 1, .compression = 3, .masks = {1, 2, 4}, .pixels = "abcd"}),
         DecodeError::UnsupportedBitCount},
        {"colour table past the end",
         bmpFile({.width = 1, .height = 1, .bitCount = 8, .coloursUsed = 200, .pixels = "abcd"}),
         DecodeError::Truncated},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeBmp(asBytes(c.bytes)).error, c.error) << c.what;
}

} // namespace
} // namespace sw
