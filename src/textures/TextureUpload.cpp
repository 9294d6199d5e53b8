#include "textures/TextureUpload.h"

#include "model/Model.h"

#include <GL/gl.h>

#include <algorithm>

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
    glPixelStorei(GL_UNPACK_ALIGNMENT, bmp ? 4 : 1);
    const bool empty = material.pixels.empty();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, empty ? 0 : material.width, empty ? 0 : material.height,
                 0, bmp ? GL_BGR : GL_RGB, GL_UNSIGNED_BYTE,
                 empty ? nullptr : material.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

} // namespace sw
