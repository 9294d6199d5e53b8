#include "platform/HeadlessGl.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::TempDir;

class TextureUploadTest : public testing::Test {
protected:
    void SetUp() override {
        gl = HeadlessGl::create(8, 8);
        ASSERT_NE(gl, nullptr) << "no EGL context on this machine";
        for (std::size_t i = 0; i < palette.entries.size(); ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            palette.entries[i] = {v, static_cast<std::uint8_t>(v + 100),
                                  static_cast<std::uint8_t>(v + 200)};
        }
    }

    // The texture's level 0 as R, G, B bytes, bottom row first, rows packed tightly.
    static std::vector<std::uint8_t> texels(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<std::uint8_t> out(static_cast<std::size_t>(width) *
                                      static_cast<std::size_t>(height) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!out.empty())
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    std::vector<std::uint8_t> entries(std::initializer_list<int> indices) const {
        std::vector<std::uint8_t> out;
        for (int i : indices) {
            const Rgb c = palette.entries[static_cast<std::size_t>(i)];
            out.insert(out.end(), {c.r, c.g, c.b});
        }
        return out;
    }

    std::unique_ptr<HeadlessGl> gl;
    TempDir dir;
    Palette palette;
    Preferences preferences;
    TextureLoader loader{palette, preferences};
};

TEST_F(TextureUploadTest, MatRowsOfAnyWidthArriveUnskewed) {
    // Rows of 18 and of 9 bytes: neither is a multiple of GL's default 4-byte alignment.
    std::string six;
    for (char i = 0; i < 12; ++i)
        six += i;
    Material wide;
    loader.loadTexture(wide, dir.write("six.mat", test::matTexture(6, 2, 8, six)));
    EXPECT_EQ(texels(wide.glTexture), entries({6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5}));

    Material odd;
    loader.loadTexture(
        odd, dir.write("three.mat", test::matTexture(3, 2, 8, "\x01\x02\x03\x04\x05\x06")));
    EXPECT_EQ(texels(odd.glTexture), entries({4, 5, 6, 1, 2, 3}));
    EXPECT_FALSE(odd.notLoaded);
    EXPECT_TRUE(odd.pixels.empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureUploadTest, BmpPixelsArriveAsBgrWithPaddedRows) {
    // 3 x 2, 24 bits: rows of 9 bytes padded to 12, B, G, R each, bottom row first.
    const std::string pixels("\x01\x02\x03\x04\x05\x06\x07\x08\x09\xEE\xEE\xEE"
                             "\x11\x12\x13\x14\x15\x16\x17\x18\x19\xEE\xEE\xEE",
                             24);
    Material material;
    loader.loadTexture(
        material,
        dir.write("rock.bmp", test::bmpFile({.width = 3, .height = 2, .pixels = pixels})));
    EXPECT_EQ(texels(material.glTexture),
              std::vector<std::uint8_t>({3, 2, 1, 6, 5, 4, 9, 8, 7, 0x13, 0x12, 0x11, 0x16, 0x15,
                                         0x14, 0x19, 0x18, 0x17}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureUploadTest, TextureIsNearestFilteredAndLeavesTheUnpackAlignment) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    Material material;
    loader.loadTexture(material, dir.write("a.mat", test::matColour(3)));
    GLint value = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 2);
    glBindTexture(GL_TEXTURE_2D, material.glTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    EXPECT_EQ(texels(material.glTexture).size(), 8u * 8 * 3);
}

TEST_F(TextureUploadTest, ReloadDeletesTheOldTextureAndMissingFileGivesAnEmptyOne) {
    const std::string path = dir.write("a.mat", test::matColour(3));
    Material material;
    loader.loadTexture(material, path);
    const GLuint first = material.glTexture;
    ASSERT_NE(first, 0u);
    loader.reloadTexture(material);
    EXPECT_NE(material.glTexture, first);
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
    const std::vector<std::uint8_t> texel = entries({3});
    const std::vector<std::uint8_t> reloaded = texels(material.glTexture);
    ASSERT_EQ(reloaded.size(), 8u * 8 * 3);
    for (std::size_t i = 0; i < reloaded.size(); i += 3)
        ASSERT_TRUE(
            std::equal(texel.begin(), texel.end(), reloaded.begin() + static_cast<long>(i)));

    const GLuint second = material.glTexture;
    std::filesystem::remove(path);
    loader.reloadTexture(material);
    EXPECT_TRUE(material.notLoaded);
    EXPECT_EQ(glIsTexture(second), GL_FALSE);
    EXPECT_NE(material.glTexture, 0u);
    EXPECT_TRUE(texels(material.glTexture).empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace sw
