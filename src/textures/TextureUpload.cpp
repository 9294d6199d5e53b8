#include "textures/TextureUpload.h"

#include "model/Model.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace sw {

void deleteTexture(Material& material) {
    if (material.glTexture != 0) {
        const GLuint name = material.glTexture;
        glDeleteTextures(1, &name);
        material.glTexture = 0;
    }
}

void deleteTextures(Model& model) {
    for (Material& material : model.materials)
        deleteTexture(material);
}

std::vector<std::uint32_t> textureNames(const Model& model) {
    std::vector<std::uint32_t> names;
    for (const Material& material : model.materials)
        names.push_back(material.glTexture);
    return names;
}

void deleteTexturesNoLongerUsed(const std::vector<std::uint32_t>& before, const Model& model) {
    for (const std::uint32_t name : before) {
        if (name == 0)
            continue;
        const bool held = std::any_of(model.materials.begin(), model.materials.end(),
                                      [name](const Material& m) { return m.glTexture == name; });
        if (!held) {
            const GLuint texture = name;
            glDeleteTextures(1, &texture);
        }
    }
}

namespace {

// A material whose image was not found shows a checkerboard of magenta and dark grey, as game
// engines show a missing texture: the faces and their outlines stay visible, and the user sees
// at once that something is missing.
constexpr int kCheckerCells = 8;
constexpr std::uint8_t kMagenta[3] = {255, 0, 255};
constexpr std::uint8_t kDarkGrey[3] = {64, 64, 64};

std::vector<std::uint8_t> checkerboard() {
    std::vector<std::uint8_t> pixels;
    for (int row = 0; row < kCheckerCells; ++row)
        for (int column = 0; column < kCheckerCells; ++column) {
            const std::uint8_t* colour = (row + column) % 2 == 0 ? kMagenta : kDarkGrey;
            pixels.insert(pixels.end(), colour, colour + 3);
        }
    return pixels;
}

} // namespace

void uploadTexture(Material& material, TextureFormat pixelsFrom) {
    deleteTexture(material);
    GLuint name = 0;
    glGenTextures(1, &name);
    material.glTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    const bool bmp = pixelsFrom == TextureFormat::Bmp;
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    if (material.pixels.empty()) {
        const std::vector<std::uint8_t> missing = checkerboard();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kCheckerCells, kCheckerCells, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, missing.data());
    } else {
        glPixelStorei(GL_UNPACK_ALIGNMENT, bmp ? 4 : 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, material.width, material.height, 0,
                     bmp ? GL_BGR : GL_RGB, GL_UNSIGNED_BYTE, material.pixels.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

} // namespace sw
