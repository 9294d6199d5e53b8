#include "textures/Preferences.h"
#include "support/FakeMessageBox.h"
#include "support/FakeSettings.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace sw {
namespace {

using test::FakeMessageBox;
using test::FakeSettings;
using test::TempDir;

const std::string kLabel = "Default (no file necessary)";

struct Loaded {
    Preferences preferences;
    Palette palette;
    FakeMessageBox boxes;
};

// Loads from a key that exists and holds `values`.
Loaded loadFrom(FakeSettings& settings) {
    Loaded loaded;
    loaded.preferences.cmpFile = "stale";
    loadPreferences(loaded.preferences, loaded.palette, settings, loaded.boxes);
    return loaded;
}

FakeSettings existingKey(std::map<std::string, std::string> values) {
    FakeSettings settings;
    settings.exists = true;
    settings.values = std::move(values);
    return settings;
}

TEST(Preferences, NewKeyGetsTheDefaultsWritten) {
    FakeSettings settings;
    const Loaded loaded = loadFrom(settings);
    const std::map<std::string, std::string> expected{
        {"CmpFile", kLabel}, {"PrimaryTex", "MAT"}, {"SecondaryTex", "BOTH"}};
    EXPECT_EQ(settings.values, expected);
    EXPECT_EQ(loaded.preferences, Preferences{});
    EXPECT_TRUE(loaded.palette.paletteFilled);
    EXPECT_TRUE(loaded.boxes.shown().empty());
}

TEST(Preferences, ExistingEmptyKeyIsLeftAsItIs) {
    FakeSettings settings = existingKey({});
    EXPECT_EQ(loadFrom(settings).preferences, Preferences{});
    EXPECT_TRUE(settings.values.empty());
}

TEST(Preferences, UnopenableStoreGivesTheDefaults) {
    FakeSettings settings;
    settings.failOpen = true;
    Loaded loaded = loadFrom(settings);
    EXPECT_EQ(loaded.preferences, Preferences{});
    EXPECT_TRUE(loaded.palette.paletteFilled);
    savePreferences(loaded.preferences, settings);
    EXPECT_TRUE(settings.values.empty());
}

struct FormatCase {
    std::optional<std::string> primary;
    std::optional<std::string> secondary;
    TextureFormat format;
    bool loadBmpIfMatFails;
    bool loadMatIfBmpFails;
};

TEST(Preferences, ReadsTheFormatCoding) {
    using enum TextureFormat;
    const FormatCase cases[] = {
        {"BMP", "BOTH", Bmp, true, true},
        {"bmp", "BOTH", Mat, true, true}, // compared exactly
        {"BMP ", std::nullopt, Mat, true, true},
        {"MAT", "NONE", Mat, false, false},
        {std::nullopt, "MAT", Mat, false, true},
        {"MAT", "BMP", Mat, true, false},
        {"MAT", "none", Mat, true, true}, // any other text means both
        {"MAT", "", Mat, true, true},
        {"MAT", "BMPX", Mat, true, true},
    };
    for (const FormatCase& c : cases) {
        std::map<std::string, std::string> values;
        if (c.primary)
            values["PrimaryTex"] = *c.primary;
        if (c.secondary)
            values["SecondaryTex"] = *c.secondary;
        FakeSettings settings = existingKey(values);
        const Preferences p = loadFrom(settings).preferences;
        const std::string row = c.primary.value_or("-") + " / " + c.secondary.value_or("-");
        EXPECT_EQ(p.primaryFormat, c.format) << row;
        EXPECT_EQ(p.loadBmpIfMatFails, c.loadBmpIfMatFails) << row;
        EXPECT_EQ(p.loadMatIfBmpFails, c.loadMatIfBmpFails) << row;
    }
}

TEST(Preferences, PaletteFileThatHasGoneIsReplacedSilently) {
    TempDir dir;
    const std::string tooLong(260, 'a');
    for (const std::string& stored : {(dir.path() / "gone.cmp").string(), tooLong}) {
        FakeSettings settings = existingKey({{"CmpFile", stored}});
        Loaded loaded = loadFrom(settings);
        EXPECT_EQ(loaded.preferences.cmpFile, kLabel);
        EXPECT_TRUE(loaded.boxes.shown().empty());
        EXPECT_EQ(settings.values.at("CmpFile"), stored); // stored again only by the window's "ok"
    }
}

TEST(Preferences, PaletteFileThatIsNoPaletteIsReportedWithoutAnOwner) {
    TempDir dir;
    const std::string path = dir.write("notes.cmp", "cmp and some text");
    FakeSettings settings = existingKey({{"CmpFile", path}});
    Loaded loaded = loadFrom(settings);
    ASSERT_EQ(loaded.boxes.shown().size(), 1u);
    EXPECT_EQ(loaded.boxes.shown().front().owner, Window::None);
    EXPECT_EQ(loaded.boxes.shown().front().caption, "Invalid CMP File");
    EXPECT_EQ(loaded.boxes.shown().front().text, path);
    EXPECT_EQ(loaded.preferences.cmpFile, kLabel);
}

TEST(Preferences, PaletteFileIsKeptAndLoaded) {
    TempDir dir;
    const std::string path = dir.write("game.cmp", test::cmpFile());
    FakeSettings settings = existingKey({{"CmpFile", path}});
    Loaded loaded = loadFrom(settings);
    EXPECT_EQ(loaded.preferences.cmpFile, path);
    EXPECT_EQ(loaded.palette.entries[1], (Rgb{1, 254, 0}));
}

TEST(Preferences, SavesTheCodingAndReadsItBack) {
    struct Case {
        TextureFormat format;
        bool loadBmpIfMatFails;
        bool loadMatIfBmpFails;
        const char* primary;
        const char* secondary;
    };
    using enum TextureFormat;
    const Case cases[] = {
        {Mat, true, true, "MAT", "BOTH"}, {Mat, true, false, "MAT", "BMP"},
        {Mat, false, true, "MAT", "MAT"}, {Mat, false, false, "MAT", "NONE"},
        {Bmp, true, true, "BMP", "BOTH"}, {Bmp, true, false, "BMP", "BMP"},
        {Bmp, false, true, "BMP", "MAT"}, {Bmp, false, false, "BMP", "NONE"},
    };
    for (const Case& c : cases) {
        Preferences saved;
        saved.primaryFormat = c.format;
        saved.loadBmpIfMatFails = c.loadBmpIfMatFails;
        saved.loadMatIfBmpFails = c.loadMatIfBmpFails;
        FakeSettings settings = existingKey({});
        savePreferences(saved, settings);
        const std::map<std::string, std::string> expected{
            {"CmpFile", kLabel}, {"PrimaryTex", c.primary}, {"SecondaryTex", c.secondary}};
        EXPECT_EQ(settings.values, expected);
        EXPECT_EQ(loadFrom(settings).preferences, saved) << c.primary << " " << c.secondary;
    }
}

} // namespace
} // namespace sw
