#include "textures/Palette.h"
#include "support/Fakes.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

TEST(Palette, BuiltInTableHoldsTheGamesColours) {
    const std::pair<int, Rgb> samples[] = {{0, {0, 0, 0}},         {16, {255, 255, 255}},
                                           {32, {253, 253, 253}},  {100, {0x9F, 0x5B, 0x3F}},
                                           {191, {0x37, 0, 0x5B}}, {200, {255, 0, 255}},
                                           {255, {255, 255, 255}}};
    for (const auto& [index, colour] : samples)
        EXPECT_EQ(builtIn().entries[static_cast<std::size_t>(index)], colour) << "entry " << index;
}

// A file's name is found whatever its letter case; the label of the built-in table is known
// in any case too. A file refused after one was loaded leaves the colours in use.
TEST(Palette, LoadsACmpFileOrTheBuiltInTable) {
    TempDir dir;
    dir.write("pal/game.cmp", cmpFile("CMP\x99 the rest of the header") + "not read");
    Palette palette;
    Preferences preferences;
    FakeMessageBox boxes;
    const auto load = [&](const std::string& file) {
        preferences.cmpFile = file;
        loadPalette(palette, preferences, boxes, Window::Main);
    };
    load((dir.path() / "PAL/Game.CMP").string());
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
    EXPECT_EQ(palette.entries[255], (Rgb{255, 0, 127}));
    load("DEFAULT (NO FILE NECESSARY)");
    EXPECT_EQ(palette.entries, builtIn().entries);
    EXPECT_TRUE(boxes.shown().empty());
    load(dir.write("good.cmp", cmpFile()));
    load(dir.write("bad.cmp", cmpFile("XYZ")));
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
}

TEST(Palette, RefusedFileIsReportedAndReplacedByTheBuiltInTable) {
    TempDir dir;
    for (const std::string& path :
         {dir.write("lower.cmp", cmpFile("cmp")), dir.write("short.cmp", cmpFile().substr(0, 831)),
          (dir.path() / "missing %s%n.cmp").string()}) { // shown as it is, never as a format
        Palette palette;
        Preferences preferences;
        preferences.cmpFile = path;
        FakeMessageBox boxes;
        loadPalette(palette, preferences, boxes, Window::Main);
        EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                     {Window::Main, path, "Invalid CMP File", kMbOk}}));
        EXPECT_EQ(preferences.cmpFile, "Default (no file necessary)");
        EXPECT_EQ(palette.entries, builtIn().entries) << path;
    }
}

} // namespace
} // namespace sw::test
