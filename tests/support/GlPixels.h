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

// The pixel x from the left and y from the bottom of a frame `width` pixels wide, as
// HeadlessGl::readPixels gives it.
inline Rgb pixelAt(const std::vector<std::uint8_t>& pixels, int width, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)) *
                          3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

} // namespace sw::test
