#include "support/Fakes.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

using Values = std::map<std::string, std::string>;
using enum TextureFormat;

const std::string kLabel = "Default (no file necessary)";

struct Loaded {
    Preferences preferences;
    Palette palette;
    FakeMessageBox boxes;
};

// Loaded from a key that exists already.
Loaded load(Values values) {
    FakeSettings settings;
    settings.exists = true;
    settings.values = std::move(values);
    Loaded loaded;
    loaded.preferences.cmpFile = "stale";
    loadPreferences(loaded.preferences, loaded.palette, settings, loaded.boxes);
    return loaded;
}

TEST(Preferences, NewKeyGetsTheDefaultsWritten) {
    FakeSettings settings;
    Loaded loaded;
    loadPreferences(loaded.preferences, loaded.palette, settings, loaded.boxes);
    EXPECT_EQ(settings.values,
              (Values{{"CmpFile", kLabel}, {"PrimaryTex", "MAT"}, {"SecondaryTex", "BOTH"}}));
    EXPECT_EQ(loaded.preferences, Preferences{});
    EXPECT_TRUE(loaded.palette.paletteFilled);
    EXPECT_TRUE(loaded.boxes.shown().empty());
}

TEST(Preferences, ReadsAndWritesTheFormatCoding) {
    struct Case {
        const char* primary;
        const char* secondary;
        TextureFormat format;
        bool bmpIfMatFails;
        bool matIfBmpFails;
        bool written; // savePreferences writes these texts back
    };
    const Case cases[] = {
        {"MAT", "BOTH", Mat, true, true, true},     {"BMP", "NONE", Bmp, false, false, true},
        {"MAT", "BMP", Mat, true, false, true},     {"BMP", "MAT", Bmp, false, true, true},
        {"bmp", "none", Mat, true, true, false},    {"BMP ", "BMPX", Mat, true, true, false},
        {nullptr, nullptr, Mat, true, true, false}, // missing values
    };
    for (const Case& c : cases) {
        Values values;
        if (c.primary != nullptr)
            values = {{"PrimaryTex", c.primary}, {"SecondaryTex", c.secondary}};
        const Preferences read = load(values).preferences;
        const std::string row = testing::PrintToString(values);
        EXPECT_EQ(read.primaryFormat, c.format) << row;
        EXPECT_EQ(read.loadBmpIfMatFails, c.bmpIfMatFails) << row;
        EXPECT_EQ(read.loadMatIfBmpFails, c.matIfBmpFails) << row;
        if (c.written) {
            FakeSettings settings;
            savePreferences(read, settings);
            values["CmpFile"] = kLabel;
            EXPECT_EQ(settings.values, values);
        }
    }
    FakeSettings unopenable;
    unopenable.failOpen = true;
    savePreferences(Preferences{}, unopenable);
    EXPECT_TRUE(unopenable.values.empty());
}

TEST(Preferences, PaletteFileIsKeptOnlyWhileItOpens) {
    TempDir dir;
    const std::string good = dir.write("game.cmp", cmpFile());
    const Loaded kept = load({{"CmpFile", good}});
    EXPECT_EQ(kept.preferences.cmpFile, good);
    EXPECT_EQ(kept.palette.entries[1], (Rgb{1, 254, 0}));

    // Gone, or longer than the value buffer: replaced without a word.
    for (const std::string& stored : {(dir.path() / "gone.cmp").string(), std::string(260, 'a')}) {
        const Loaded silent = load({{"CmpFile", stored}});
        EXPECT_EQ(silent.preferences.cmpFile, kLabel);
        EXPECT_TRUE(silent.boxes.shown().empty());
    }

    const std::string notPalette = dir.write("notes.cmp", "cmp and some text");
    const Loaded reported = load({{"CmpFile", notPalette}});
    ASSERT_EQ(reported.boxes.shown().size(), 1u);
    EXPECT_EQ(reported.boxes.shown().front().owner, Window::None);
    EXPECT_EQ(reported.boxes.shown().front().text, notPalette);
    EXPECT_EQ(reported.preferences.cmpFile, kLabel);
}

} // namespace
} // namespace sw::test
