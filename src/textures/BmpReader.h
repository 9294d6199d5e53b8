#pragma once

#include "textures/DecodedImage.h"
#include "textures/FileBytes.h"
#include "textures/Preferences.h"

#include <cstdint>
#include <optional>
#include <span>

namespace sw {

struct Material;
struct Palette;

// Decodes an uncompressed Windows BMP of 1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or
// top-down, into 24-bit B, G, R rows padded to 4 bytes, bottom row first: the layout a 24-bit
// bottom-up file has on disk, which the upload takes as it is. Palette images use their own
// colour table. Run-length and other compressed images are refused.
DecodeResult decodeBmp(std::span<const std::uint8_t> bytes);

// Decodes the file material.path names, its bytes got through `read`, into the Material's
// pixels, width and height and clears notLoaded. When the file cannot be opened and the
// preferences let BMP fall back to MAT (and the path was searched, not given), the MAT
// reader gets the same path ending in MAT, read the same way. Returns the format whose
// reader filled the pixels; nothing when the Material stays not loaded.
std::optional<TextureFormat> decodeBmp(Material& material, const Palette& palette,
                                       const Preferences& preferences,
                                       const FileReader& read = readFileBytes);

} // namespace sw
