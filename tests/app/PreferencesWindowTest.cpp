#include "app/ShellFixture.h"

#include "support/TextureFiles.h"

#include <GL/gl.h>
#include <gmock/gmock.h>

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using Values = std::map<std::string, std::string>;

const Values kDefaults{
    {"CmpFile", "Default (no file necessary)"}, {"PrimaryTex", "MAT"}, {"SecondaryTex", "BOTH"}};

// A first start (no settings yet) with knight.3do open, whose "wall" is an 8-bit MAT of one
// texel of colour 5, and a CMP palette pal.cmp beside it.
class PreferencesWindow : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        dir.write("mat/wall.mat", matTexture(1, 1, 8, "\x05"));
        palettePath = dir.write("pal.cmp", cmpFile());
        openKnight();
        fake.settings.values.clear(); // to see what "ok" stores
    }

    void show() { command(Id::MenuPreferences); }
    void browse(const std::string& path) {
        fake.fileDialogs.choose(path, path.substr(path.find_last_of('/') + 1));
        command(Id::Browse);
    }
    bool shown() const { return windows.window(Window::Options).visible; }
    // The colour of the wall's one texel as its GL texture holds it.
    std::vector<std::uint8_t> wallTexel() {
        std::vector<std::uint8_t> texel(3);
        glBindTexture(GL_TEXTURE_2D, shell.state.currentModel->materials[0].glTexture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texel.data());
        return texel;
    }

    std::string palettePath;
};

TEST_F(PreferencesWindow, OkStoresWhatItShowsAndReloadsThePaletteAndItsTextures) {
    show();
    browse(palettePath);
    command(Id::BmpFirst);
    windows.setChecked(Id::MatFallback, false); // the boxes check themselves when clicked
    windows.setChecked(Id::BmpFallback, false);
    EXPECT_TRUE(windows.isChecked(Id::BmpFirst));
    EXPECT_FALSE(windows.isChecked(Id::MatFirst));
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values,
              (Values{{"CmpFile", palettePath}, {"PrimaryTex", "BMP"}, {"SecondaryTex", "NONE"}}));
    EXPECT_FALSE(shown());
    EXPECT_EQ(wallTexel(), cmpColours({5}));

    // "ok" without a change stores again and reads the palette file again.
    std::string changed = cmpFile();
    changed[64 + 5 * 3] = 9;
    dir.write("pal.cmp", changed);
    fake.settings.values.clear();
    show();
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values.at("CmpFile"), palettePath);
    EXPECT_EQ(wallTexel(), (std::vector<std::uint8_t>{9, 250, 2}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(PreferencesWindow, CancelAndEscapeForgetTheEditsEnterKeepsThem) {
    const std::string other = dir.write("other.cmp", cmpFile());
    show();
    browse(palettePath);
    command(Id::Cancel);
    EXPECT_FALSE(shown());
    show();
    EXPECT_EQ(windows.text(Id::PaletteFile), "Default (no file necessary)");
    browse(other);
    shell.onKeyDown(Window::Options, vk::kEscape);
    EXPECT_FALSE(shown());
    EXPECT_TRUE(fake.settings.values.empty());
    EXPECT_EQ(shell.state.preferences.cmpFile, "Default (no file necessary)");

    // The palette dialog opens on the file chosen last; "default" puts the label back.
    show();
    fake.fileDialogs.cancel();
    command(Id::Browse);
    EXPECT_EQ(fake.fileDialogs.shown().back().initialPath, other);
    EXPECT_EQ(fake.fileDialogs.shown().back().request.filters.at(0).pattern, "*.cmp");
    browse(palettePath);
    command(Id::DefaultPalette);
    shell.onKeyDown(Window::Options, vk::kReturn);
    EXPECT_EQ(fake.settings.values, kDefaults);
    EXPECT_FALSE(shown());
}

TEST_F(PreferencesWindow, APaletteThatIsNoCmpFileIsStoredReportedAndNotUsed) {
    const std::string bad = dir.write("bad.cmp", cmpFile("XYZ"));
    show();
    browse(bad);
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values.at("CmpFile"), bad);
    EXPECT_THAT(boxes(), ElementsAre(Box{Window::Options, bad, "Invalid CMP File", kMbOk}));
    EXPECT_EQ(shell.state.preferences.cmpFile, "Default (no file necessary)");
}

} // namespace
} // namespace sw::test
