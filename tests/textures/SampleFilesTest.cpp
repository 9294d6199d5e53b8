// The sample model opens with all its textures found and decoded as its generator drew them.

#include "model/Model.h"
#include "support/FakeMessageBox.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <gtest/gtest.h>

#include <array>

namespace sw {
namespace {

const std::string kSamples = SW_SAMPLES_DIR;

// The three bytes of the texel at column x of row y counted from the top, as the buffer of a
// bottom-up image with rows of `stride` bytes holds them.
std::array<int, 3> texel(const Material& material, int x, int y, std::size_t stride) {
    const std::size_t at = static_cast<std::size_t>(material.height - 1 - y) * stride +
                           static_cast<std::size_t>(x) * 3;
    return {material.pixels.at(at), material.pixels.at(at + 1), material.pixels.at(at + 2)};
}

TEST(SampleFiles, EveryMaterialOfTheSampleIsFoundAndDecoded) {
    Palette palette;
    buildDefaultPalette(palette);
    const Preferences preferences;
    TextureLoader loader(palette, preferences);
    loader.setDirectory(kSamples + "/");
    loader.setUploadEnabled(false);
    test::FakeMessageBox messages;
    Model model;
    ASSERT_TRUE(model.load(kSamples + "/totem.3do"));
    ASSERT_TRUE(model.prepare(loader.function(), messages));
    EXPECT_TRUE(messages.shown().empty());

    const struct {
        const char* name;
        int width, height;
        bool usesPalette;
        const char* file;
        std::array<int, 3> topLeft;
    } rows[] = {
        // A brick joint: palette entry 58 of the built-in table.
        {"stone", 64, 64, true, "mat/stone.MAT", {0x27, 0x27, 0x27}},
        // 16-bit (155, 90, 37) kept to five bits per channel and widened again.
        {"wood", 32, 64, false, "mat/wood.MAT", {156, 90, 32}},
        // A colour material of entry 128.
        {"red", 8, 8, true, "mat/red.MAT", {0xFB, 0, 0}},
        // No MAT: the BMP stands in; its red border, stored B, G, R.
        {"banner", 64, 32, false, "bmp/banner.BMP", {30, 30, 200}},
    };
    ASSERT_EQ(model.numMaterials(), 4);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Material& material = model.materials[i];
        SCOPED_TRACE(material.name);
        EXPECT_EQ(material.name, rows[i].name);
        ASSERT_FALSE(material.notLoaded);
        EXPECT_EQ(material.width, rows[i].width);
        EXPECT_EQ(material.height, rows[i].height);
        EXPECT_EQ(material.usesPalette, rows[i].usesPalette);
        EXPECT_EQ(material.path, kSamples + "/" + rows[i].file);
        const std::size_t stride = static_cast<std::size_t>(material.width) * 3;
        EXPECT_EQ(texel(material, 0, 0, stride), rows[i].topLeft);
    }
    // The sun in the middle of the banner.
    EXPECT_EQ(texel(model.materials[3], 32, 16, 64 * 3), (std::array<int, 3>{40, 210, 250}));
}

TEST(SampleFiles, ThePaletteFileTurnsTheGreysToSandstone) {
    Preferences preferences;
    preferences.cmpFile = kSamples + "/totem.cmp";
    Palette palette;
    test::FakeMessageBox messages;
    loadPalette(palette, preferences, messages, Window::None);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(preferences.cmpFile, kSamples + "/totem.cmp");
    EXPECT_EQ(palette.entries[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(palette.entries[32], (Rgb{240, 180, 100}));
    EXPECT_EQ(palette.entries[63], (Rgb{90, 60, 30}));
}

} // namespace
} // namespace sw
