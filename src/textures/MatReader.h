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

// Decodes the first image of a MAT file: a colour material becomes 8 x 8 texels of its
// palette colour; a texture's 8-bit palette indices or 16-bit pixels become R, G, B rows,
// bottom row first. Every size is checked against the bytes there are.
DecodeResult decodeMat(std::span<const std::uint8_t> bytes, const Palette& palette);

// Decodes the file material.path names, its bytes got through `read`, into the Material's
// pixels, width and height and clears notLoaded. When the file cannot be opened and the
// preferences let MAT fall back to BMP (and the path was searched, not given), the BMP
// reader gets the same path ending in BMP, read the same way. Returns the format whose
// reader filled the pixels; nothing when the Material stays not loaded.
std::optional<TextureFormat> decodeMat(Material& material, const Palette& palette,
                                       const Preferences& preferences,
                                       const FileReader& read = readFileBytes);

} // namespace sw
