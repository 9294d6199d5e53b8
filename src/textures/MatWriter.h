#pragma once

#include "platform/ImageFiles.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sw {

struct Palette;

// An image to turn into a MAT: R, G, B, A per pixel in rows of exactly width x 4 bytes, top
// row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> pixels;
};

enum class MatPixels {
    Indexed, // 8 bits: each pixel the index of the nearest palette colour
    Rgb565,  // 16 bits: 5 bits of red, 6 of green, 5 of blue
};

enum class EncodeError {
    None,
    BadSize,     // no pixels, more than the readers take, or a buffer of another size
    OutOfMemory, // the file's bytes could not be allocated
};

struct EncodeResult {
    std::vector<std::uint8_t> bytes; // the whole file when error is None
    EncodeError error = EncodeError::None;

    explicit operator bool() const { return error == EncodeError::None; }
};

// A texture MAT of one image with one mipmap level, pixels top row first, as the game and
// decodeMat read it.
//
// Indexed: the palette colour nearest by squared RGB distance, the lower index on a tie; a
// pixel whose alpha is 0 becomes index 0 (other alpha values are ignored).
// Rgb565: each channel rounded to the nearest of its 32 (green: 64) levels. decodeMat shows
// green by its top 5 bits, the game by all 6.
EncodeResult encodeMat(const RgbaImage& image, MatPixels format, const Palette& palette);

// An image as encodeMat takes it.
inline RgbaImage viewOf(const RgbaPixels& image) {
    return {image.width, image.height, image.bytes};
}

// Why an image file read for a MAT was not read, as the end of a sentence that starts with
// the file's name: "cannot open the file", "not an image this program reads: ...", ... Empty
// for an image that was read.
std::string describeImageRead(const ImageRead& read);

// Whether the game's renderer takes an image of that size as it is: both sides powers of two.
bool hasPowerOfTwoSides(int width, int height);

} // namespace sw
