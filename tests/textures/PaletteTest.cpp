#include "textures/Palette.h"
#include "support/FakeMessageBox.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::cmpFile;
using test::FakeMessageBox;
using test::TempDir;

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

// Entry i of test::cmpFile's table.
Rgb fileEntry(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i / 2)};
}

TEST(Palette, BuiltInTableHoldsTheGamesColours) {
    const Palette palette = builtIn();
    EXPECT_TRUE(palette.paletteFilled);
    const std::pair<int, Rgb> samples[] = {
        {0, {0x00, 0x00, 0x00}},   {11, {0xF7, 0xFF, 0x00}},  {16, {0xFF, 0xFF, 0xFF}},
        {31, {0x00, 0x00, 0xFF}},  {32, {0xFD, 0xFD, 0xFD}},  {64, {0xBF, 0xC7, 0xDF}},
        {100, {0x9F, 0x5B, 0x3F}}, {143, {0x00, 0x00, 0x17}}, {191, {0x37, 0x00, 0x5B}},
        {192, {0xFF, 0x00, 0xFF}}, {200, {0xFF, 0x00, 0xFF}}, {254, {0xFF, 0x00, 0xFF}},
        {255, {0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [index, colour] : samples)
        EXPECT_EQ(palette.entries[static_cast<std::size_t>(index)], colour) << "entry " << index;
}

TEST(Palette, DefaultLabelInAnyCaseNeedsNoFile) {
    Palette palette;
    Preferences preferences;
    preferences.cmpFile = "DEFAULT (NO FILE NECESSARY)";
    FakeMessageBox boxes;
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_EQ(palette.entries, builtIn().entries);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(preferences.cmpFile, "DEFAULT (NO FILE NECESSARY)");
}

TEST(Palette, ReadsTheColoursOfACmpFileWhateverItsHeaderHoldsAfterTheMagic) {
    TempDir dir;
    Preferences preferences;
    preferences.cmpFile =
        dir.write("pal/game.cmp", cmpFile("CMP\x99garbage") + "trailing bytes are not read");
    Palette palette;
    FakeMessageBox boxes;
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(palette.paletteFilled);
    for (int i : {0, 1, 128, 255})
        EXPECT_EQ(palette.entries[static_cast<std::size_t>(i)], fileEntry(i)) << "entry " << i;

    // Found as Windows would find it, whatever the letter case of the path.
    preferences.cmpFile = (dir.path() / "PAL" / "Game.CMP").string();
    palette = Palette{};
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(palette.entries[1], fileEntry(1));
}

TEST(Palette, RefusedFileIsReportedAndReplacedByTheBuiltInTable) {
    TempDir dir;
    const std::string cases[] = {
        dir.write("lower.cmp", cmpFile("cmp")), dir.write("short.cmp", cmpFile().substr(0, 831)),
        dir.write("empty.cmp", ""),
        (dir.path() / "missing %s%n.cmp").string(), // shown as it is, never as a format
    };
    for (const std::string& path : cases) {
        Palette palette;
        Preferences preferences;
        preferences.cmpFile = path;
        FakeMessageBox boxes;
        loadPalette(palette, preferences, boxes, Window::Main);
        ASSERT_EQ(boxes.shown().size(), 1u) << path;
        const auto& box = boxes.shown().front();
        EXPECT_EQ(box.owner, Window::Main);
        EXPECT_EQ(box.text, path);
        EXPECT_EQ(box.caption, "Invalid CMP File");
        EXPECT_EQ(box.style, kMbOk);
        EXPECT_EQ(preferences.cmpFile, "Default (no file necessary)") << path;
        EXPECT_EQ(palette.entries, builtIn().entries) << path;
    }
}

TEST(Palette, RefusedFileKeepsTheColoursOfAPaletteFilledBefore) {
    TempDir dir;
    Palette palette;
    Preferences preferences;
    preferences.cmpFile = dir.write("good.cmp", cmpFile());
    FakeMessageBox boxes;
    loadPalette(palette, preferences, boxes, Window::Main);
    preferences.cmpFile = dir.write("bad.cmp", cmpFile("XYZ"));
    loadPalette(palette, preferences, boxes, Window::Main);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(palette.entries[1], fileEntry(1));
}

} // namespace
} // namespace sw
