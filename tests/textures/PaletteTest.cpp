#include "textures/Palette.h"
#include "support/FakeMessageBox.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::cmpFile;

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

TEST(Palette, LoadsACmpFileOrTheBuiltInTable) {
    test::TempDir dir;
    dir.write("pal/game.cmp", cmpFile("CMP\x99 the rest of the header") + "not read");
    Palette palette;
    Preferences preferences;
    test::FakeMessageBox boxes;
    preferences.cmpFile = (dir.path() / "PAL/Game.CMP").string(); // found as Windows would
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
    EXPECT_EQ(palette.entries[255], (Rgb{255, 0, 127}));

    preferences.cmpFile = "DEFAULT (NO FILE NECESSARY)";
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_EQ(palette.entries, builtIn().entries);
    EXPECT_TRUE(boxes.shown().empty());

    // A file refused after one was loaded leaves the colours in use.
    preferences.cmpFile = dir.write("good.cmp", cmpFile());
    loadPalette(palette, preferences, boxes, Window::Main);
    preferences.cmpFile = dir.write("bad.cmp", cmpFile("XYZ"));
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
}

TEST(Palette, RefusedFileIsReportedAndReplacedByTheBuiltInTable) {
    test::TempDir dir;
    const std::string paths[] = {
        dir.write("lower.cmp", cmpFile("cmp")), dir.write("short.cmp", cmpFile().substr(0, 831)),
        (dir.path() / "missing %s%n.cmp").string(), // shown as it is, never as a format
    };
    for (const std::string& path : paths) {
        Palette palette;
        Preferences preferences;
        preferences.cmpFile = path;
        test::FakeMessageBox boxes;
        loadPalette(palette, preferences, boxes, Window::Main);
        ASSERT_EQ(boxes.shown().size(), 1u) << path;
        const auto& box = boxes.shown().front();
        EXPECT_EQ(box.owner, Window::Main);
        EXPECT_EQ(box.text, path);
        EXPECT_EQ(box.caption, "Invalid CMP File");
        EXPECT_EQ(box.style, kMbOk);
        EXPECT_EQ(preferences.cmpFile, "Default (no file necessary)");
        EXPECT_EQ(palette.entries, builtIn().entries) << path;
    }
}

} // namespace
} // namespace sw
