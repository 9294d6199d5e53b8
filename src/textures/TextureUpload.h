#pragma once

#include "textures/Preferences.h"

#include <cstdint>
#include <vector>

namespace sw {

class Model;
struct Material;

// Gives the Material a new GL texture of its pixels (the previous one is deleted first):
// level 0 only, nearest filtering both ways, sizes as they are. `pixelsFrom` names the reader
// that filled the pixels, which fixes their layout: MAT pixels are R, G, B in rows of exactly
// width x 3 bytes; BMP pixels are B, G, R in rows padded to 4 bytes. A Material without pixels
// (its image was not found or not read) gets the checkerboard that marks a missing texture.
// Needs a current GL context.
void uploadTexture(Material& material, TextureFormat pixelsFrom);

// Deletes the Material's GL texture, if it has one. Needs the context it was made in.
void deleteTexture(Material& material);
// The textures of every material of a model, which go with the model.
void deleteTextures(Model& model);
// The GL texture of every material, taken before a change of the materials to find the ones
// it leaves behind.
std::vector<std::uint32_t> textureNames(const Model& model);
// After the materials of a model changed: deletes each texture of `before` that no material
// of the model holds any more.
void deleteTexturesNoLongerUsed(const std::vector<std::uint32_t>& before, const Model& model);

} // namespace sw
