#include "textures/DecodedImage.h"

namespace sw {

const char* describeDecodeError(DecodeError error) {
    switch (error) {
    case DecodeError::None:
        return "no error";
    case DecodeError::Truncated:
        return "the file ends before the data its header describes";
    case DecodeError::BadSize:
        return "the image size is zero, negative or too large";
    case DecodeError::BadColourIndex:
        return "the colour index is outside the palette";
    case DecodeError::UnsupportedHeader:
        return "the bitmap header is of an unsupported kind";
    case DecodeError::UnsupportedBitCount:
        return "the number of bits per pixel is not supported";
    case DecodeError::Compressed:
        return "compressed bitmaps are not supported";
    }
    return "unknown error";
}

RgbaPixels uprightImage(int width, int height, std::span<const std::uint8_t> pixels,
                        TextureFormat readBy) {
    if (width <= 0 || height <= 0)
        return {};
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const bool bmp = readBy == TextureFormat::Bmp;
    const std::size_t stride = bmp ? (w * 3 + 3) / 4 * 4 : w * 3;
    if (pixels.size() / stride < h)
        return {};
    RgbaPixels image{width, height, std::vector<std::uint8_t>(w * h * 4)};
    std::uint8_t* out = image.bytes.data();
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* in = pixels.data() + (h - 1 - y) * stride;
        for (std::size_t x = 0; x < w; ++x, in += 3, out += 4) {
            out[0] = in[bmp ? 2 : 0];
            out[1] = in[1];
            out[2] = in[bmp ? 0 : 2];
            out[3] = 0xFF;
        }
    }
    return image;
}

} // namespace sw
