#pragma once

#include "model/Model.h"
#include "textures/DecodedImage.h"

#include <string_view>
#include <utility>

namespace sw {

// Hands a decoded image to its Material. usesPalette is only ever set here: texture loading
// clears it before each decode, and a 16-bit texture leaves it as it was.
inline void storeImage(Material& material, DecodedImage&& image) {
    material.width = image.width;
    material.height = image.height;
    material.pixels = std::move(image.pixels);
    if (image.usesPalette)
        material.usesPalette = true;
    material.notLoaded = false;
}

// The hand-over between the readers overwrites the last three characters of the path, so
// that wall.MAT becomes wall.BMP and back. False when the path is too short to have them.
inline bool replaceLastThree(std::string& path, std::string_view letters) {
    if (path.size() < letters.size())
        return false;
    path.replace(path.size() - letters.size(), letters.size(), letters);
    return true;
}

} // namespace sw
