#pragma once

#include "model/Model.h"

#include <string>

namespace sw {

// What a save would do wrong without a word: a group whose texture was not loaded keeps its
// texture coordinates as fractions of a texture, so once remapped it is saved in fractions
// (which the game shows as one stretched texel), and while it still shares the mesh's texture
// vertices its edits are not saved at all. For the groups of `model` that were changed so, a
// text for the user that names each with what will happen to it and says how to give them
// their textures; empty when there are none.
std::string untexturedEditsWarning(const Model& model);

} // namespace sw
