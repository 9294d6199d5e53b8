#pragma once

#include "textures/Preferences.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace sw::cli {

// The pixels a texture reader leaves, bottom row first (R, G, B in rows of width x 3 bytes from
// the MAT reader; B, G, R in rows padded to 4 bytes from the BMP reader), as an opaque image
// with its top row first: upright, as the texture view shows it. A null image when the buffer
// is shorter than that layout or the image cannot be allocated.
QImage imageOfTexture(int width, int height, std::span<const std::uint8_t> pixels,
                      TextureFormat readBy);

} // namespace sw::cli
