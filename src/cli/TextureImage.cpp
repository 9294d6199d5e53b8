#include "cli/TextureImage.h"

#include <cstring>

namespace sw::cli {

QImage imageOfTexture(int width, int height, std::span<const std::uint8_t> pixels,
                      TextureFormat readBy) {
    if (width <= 0 || height <= 0)
        return {};
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::size_t stride = readBy == TextureFormat::Bmp ? (w * 3 + 3) / 4 * 4 : w * 3;
    if (pixels.size() / stride < h)
        return {};
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return {};
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* in = pixels.data() + (h - 1 - y) * stride;
        std::uint8_t* out = image.scanLine(static_cast<int>(y));
        if (readBy == TextureFormat::Mat) {
            std::memcpy(out, in, w * 3);
            continue;
        }
        for (std::size_t x = 0; x < w; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return image;
}

} // namespace sw::cli
