#include "platform/HeadlessGl.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace sw::test {
namespace {

using Texels = std::vector<std::uint8_t>;

// Loads textures into a real GL context and reads them back.
class TextureUploadTest : public testing::Test {
protected:
    void SetUp() override {
        gl = HeadlessGl::create(8, 8);
        ASSERT_NE(gl, nullptr) << "no EGL context on this machine";
        ASSERT_TRUE(decodeCmp(asBytes(cmpFile()), palette));
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // Level 0 as R, G, B, bottom row first, rows packed tightly.
    static Texels texels(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        Texels out(static_cast<std::size_t>(width * height) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!out.empty())
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    std::unique_ptr<HeadlessGl> gl;
    TempDir dir;
    Palette palette;
    Preferences preferences;
    TextureLoader loader{palette, preferences};
};

TEST_F(TextureUploadTest, MatRowsOfAnyWidthArriveUnskewed) {
    // Rows of 18 and of 9 bytes, neither a multiple of GL's default 4-byte alignment.
    Material six;
    loader.loadTexture(
        six,
        dir.write("six.mat", matTexture(6, 2, 8, std::string("\0\1\2\3\4\5\6\7\10\11\12\13", 12))));
    EXPECT_EQ(texels(six.glTexture), cmpColours({6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5}));

    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    Material three;
    loader.loadTexture(three, dir.write("three.mat", matTexture(3, 2, 8, "\1\2\3\4\5\6")));
    EXPECT_EQ(texels(three.glTexture), cmpColours({4, 5, 6, 1, 2, 3}));
    EXPECT_FALSE(three.notLoaded);
    EXPECT_TRUE(three.pixels.empty());
    GLint value = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 2) << "the upload leaves the unpack alignment as it found it";
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        glGetTexParameteriv(GL_TEXTURE_2D, filter, &value);
        EXPECT_EQ(value, GL_NEAREST);
    }
}

TEST_F(TextureUploadTest, BmpPixelsArriveAsBgrWithPaddedRows) {
    // 3 x 2, 24 bits: rows of 9 bytes padded to 12, B, G, R each, bottom row first.
    const std::string pixels("\1\2\3\4\5\6\7\10\11\0\0\0\21\22\23\24\25\26\27\30\31\0\0\0", 24);
    Material material;
    loader.loadTexture(material, dir.write("rock.bmp", bmpFile(3, 2, 24, pixels)));
    EXPECT_EQ(texels(material.glTexture),
              Texels({3, 2, 1, 6, 5, 4, 9, 8, 7, 19, 18, 17, 22, 21, 20, 25, 24, 23}));
}

TEST_F(TextureUploadTest, ReloadReplacesTheTextureAndAMissingFileGivesAnEmptyOne) {
    const std::string path = dir.write("a.mat", matColour(3));
    Material material;
    loader.loadTexture(material, path);
    const GLuint first = material.glTexture;
    palette.entries[3] = {1, 2, 3};
    loader.reloadTexture(material);
    EXPECT_NE(material.glTexture, first);
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
    Texels expected;
    for (int i = 0; i < 64; ++i)
        expected.insert(expected.end(), {1, 2, 3});
    EXPECT_EQ(texels(material.glTexture), expected);

    const GLuint second = material.glTexture;
    std::filesystem::remove(path);
    loader.reloadTexture(material);
    EXPECT_TRUE(material.notLoaded);
    EXPECT_EQ(glIsTexture(second), GL_FALSE);
    EXPECT_NE(material.glTexture, 0u);
    EXPECT_TRUE(texels(material.glTexture).empty());
}

} // namespace
} // namespace sw::test
