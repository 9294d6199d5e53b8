#pragma once

#include "platform/ImageFiles.h"
#include "textures/Preferences.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sw {

// Limits of a decoded image, far above any texture of the game, that keep a damaged header
// from asking for an absurd amount of memory: no side longer than the largest texture GL
// implementations take, and no more pixels than an 8192 x 8192 image.
inline constexpr std::int64_t kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{8192} * 8192;

// Whether an image of that size is one the readers take (and so one a writer may write).
constexpr bool withinImageLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

// Pixels as a reader leaves them for the upload, bottom row first. The MAT reader gives R, G,
// B with rows of exactly width x 3 bytes; the BMP reader gives B, G, R with each row padded to
// a multiple of 4 bytes.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    bool usesPalette = false; // the colours came through the palette
};

enum class DecodeError {
    None,
    Truncated,           // the file ends before what its header describes
    BadSize,             // width or height zero, negative or beyond the limits
    BadColourIndex,      // a colour material's index outside 0-255
    UnsupportedHeader,   // a BMP information header older than the 40-byte one
    UnsupportedBitCount, // a BMP with other than 1, 4, 8, 16, 24 or 32 bits per pixel
    Compressed,          // a run-length or otherwise compressed BMP
};

struct DecodeResult {
    DecodedImage image; // meaningful when error is None
    DecodeError error = DecodeError::None;

    explicit operator bool() const { return error == DecodeError::None; }
};

// A sentence for the command-line tool.
const char* describeDecodeError(DecodeError error);

// The pixels a reader leaves (see DecodedImage; `readBy` names the reader), as an opaque image
// with its top row first: upright, as the texture view shows it. Empty when the buffer is
// shorter than that layout.
RgbaPixels uprightImage(int width, int height, std::span<const std::uint8_t> pixels,
                        TextureFormat readBy);

} // namespace sw
