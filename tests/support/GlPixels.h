#pragma once

#include "model/Model.h"
#include "textures/TextureUpload.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

// Colours read back from a headless GL frame, and small textures to draw with.
namespace sw::test {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

inline std::ostream& operator<<(std::ostream& out, Rgb c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};

inline ::testing::AssertionResult colourNear(const char* actualText, const char*, Rgb actual,
                                             Rgb expected) {
    const int tolerance = 2;
    if (std::abs(actual.r - expected.r) <= tolerance &&
        std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actualText << " is " << actual << ", expected " << expected;
}
#define EXPECT_COLOUR(actual, expected)                                                            \
    EXPECT_PRED_FORMAT2(::sw::test::colourNear, actual, expected)

// A loaded 2 x 2 material, texels listed bottom row first: (0,0), (1,0), (0,1), (1,1). Its
// texture lives as long as the GL context.
inline Material textured(const std::array<Rgb, 4>& texels) {
    Material material;
    for (Rgb c : texels)
        material.pixels.insert(material.pixels.end(),
                               {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                static_cast<std::uint8_t>(c.b)});
    material.notLoaded = false;
    material.width = 2;
    material.height = 2;
    uploadTexture(material, TextureFormat::Mat);
    return material;
}

// The brightest pixel from (x0, y0) to (x1, y1), corners included, of a frame `width` pixels
// wide as HeadlessGl::readPixels gives it: x from the left, y from the bottom. (A line one
// pixel wide, drawn smoothly, may fall on either side of its exact place.)
inline Rgb brightest(const std::vector<std::uint8_t>& pixels, int width, int x0, int y0, int x1,
                     int y1) {
    Rgb best{-1, -1, -1};
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const auto i = static_cast<std::size_t>(3 * (y * width + x));
            const Rgb c{pixels.at(i), pixels.at(i + 1), pixels.at(i + 2)};
            if (c.r + c.g + c.b > best.r + best.g + best.b)
                best = c;
        }
    }
    return best;
}

} // namespace sw::test
