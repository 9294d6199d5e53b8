// The palette, MAT and BMP readers and writer, the preferences, and damaged files of each kind.

#include "support/Fakes.h"
#include "support/Mutator.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/GobArchive.h"
#include "textures/MatReader.h"
#include "textures/MatWriter.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace sw::test {
namespace {

Palette builtIn() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

// Every entry, as RRGGBB, sixteen to a line.
TEST(Palette, BuiltInTableHoldsTheGamesColours) {
    std::string table;
    char entry[9];
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = builtIn().entries[i];
        std::snprintf(entry, sizeof entry, "%02X%02X%02X%c", c.r, c.g, c.b,
                      i % 16 == 15 ? '\n' : ' ');
        table += entry;
    }
    EXPECT_EQ(table, dataFile("palette.txt"));
}

// A file's name is found whatever its letter case; the label of the built-in table is known
// in any case too. A refused file is reported by its name (shown as it is, never as a format)
// and replaced by the built-in table, or by the colours in use once a file was loaded.
TEST(Palette, LoadsACmpFileOrTheBuiltInTable) {
    TempDir dir;
    dir.write("pal/game.cmp", cmpFile("CMP\x99 the rest of the header") + "not read");
    Preferences preferences;
    FakeMessageBox boxes;
    const auto load = [&](Palette& palette, const std::string& file) {
        boxes.clear();
        preferences.cmpFile = file;
        loadPalette(palette, preferences, boxes, Window::Main);
    };
    Palette palette;
    load(palette, (dir.path() / "PAL/Game.CMP").string());
    EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0}));
    EXPECT_EQ(palette.entries[255], (Rgb{255, 0, 127}));
    load(palette, "DEFAULT (NO FILE NECESSARY)");
    EXPECT_EQ(palette.entries, builtIn().entries);
    EXPECT_TRUE(boxes.shown().empty());
    load(palette, dir.write("good.cmp", cmpFile()));
    for (const std::string& path :
         {dir.write("lower.cmp", cmpFile("cmp")), dir.write("short.cmp", cmpFile().substr(0, 831)),
          (dir.path() / "missing %s%n.cmp").string()}) {
        Palette fresh;
        load(fresh, path);
        EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                     {Window::Main, path, "Invalid CMP File", kMbOk}}));
        EXPECT_EQ(preferences.cmpFile, "Default (no file necessary)");
        EXPECT_EQ(fresh.entries, builtIn().entries) << path;
        load(palette, path);
        EXPECT_EQ(palette.entries[1], (Rgb{1, 254, 0})) << path;
    }
    // A file of 256 MiB is read; one byte more, and it is not.
    const std::string big = dir.write("big.cmp", "");
    std::filesystem::resize_file(big, 256u << 20);
    EXPECT_EQ(readFileBytes(big).status, FileStatus::Read);
    std::filesystem::resize_file(big, (256u << 20) + 1);
    EXPECT_EQ(readFileBytes(big).status, FileStatus::TooLarge);
}

TEST(MatReader, EightBitRowsAreStoredBottomUpAfterEveryCelRecord) {
    // Index bytes a, b on the top row and c, d below; mipmaps and garbage follow the image.
    // A record count below one stands for the one record every texture has.
    Palette palette; // every index shows as its own colour
    decodeCmp(asBytes(cmpFile()), palette);
    for (std::int32_t records : {-3, 0, 1, 2, 5, 8, 10}) {
        const std::string file = matTexture(2, 2, 8, "\x01\x02\x03\x04", records, "\x07\x07\x07");
        const DecodeResult result = decodeMat(asBytes(file), palette);
        ASSERT_TRUE(result) << records;
        EXPECT_EQ(result.image.pixels, cmpColours({3, 4, 1, 2})) << records << " records";
    }
}

TEST(MatReader, RefusesDamagedFiles) {
    const std::string good = matTexture(2, 2, 16, std::string(8, '\x11'));
    // The record count is at offset 12.
    const std::pair<std::string, DecodeError> cases[] = {
        {good.substr(0, 75), DecodeError::Truncated},
        {good.substr(0, 76 + 40 + 23), DecodeError::Truncated},
        {good.substr(0, good.size() - 1), DecodeError::Truncated},
        {matColour(3).substr(0, 76 + 7), DecodeError::Truncated},
        {withI32(good, 12, 0x7FFFFFFF), DecodeError::Truncated},
        {matTexture(2, 2, 16, "abcd"), DecodeError::Truncated},
        {matColour(256), DecodeError::BadColourIndex},
        {matColour(-1), DecodeError::BadColourIndex},
        {matTexture(0, 2, 8, "abcd"), DecodeError::BadSize},
        {matTexture(2, -1, 8, "abcd"), DecodeError::BadSize},
        {matTexture(1 << 20, 1, 8, "abcd"), DecodeError::BadSize}};
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(decodeMat(asBytes(cases[i].first), builtIn()).error, cases[i].second)
            << "case " << i;
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// Every layout becomes 24-bit bottom-up rows, each padded to 4 bytes.
TEST(BmpReader, DecodesEveryLayoutToTwentyFourBitBottomUpRows) {
    // 3 x 2: rows of 9 bytes padded to 12. The stored image size may be 0 or too small: the
    // buffer is sized from the rows.
    const std::string pixels =
        bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0});
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"24-bit", bmpFile(3, 2, 24, pixels), pixels},
        {"stored size 0", withI32(bmpFile(3, 2, 24, pixels), 34, 0), pixels},
        {"stored size 5", withI32(bmpFile(3, 2, 24, pixels), 34, 5), pixels},
        {"top-down", bmpFile(1, -2, 24, bytes({1, 2, 3, 0, 4, 5, 6, 0})),
         bytes({4, 5, 6, 0, 1, 2, 3, 0})},
        {"last row unpadded", bmpFile(1, 2, 24, bytes({1, 2, 3, 0, 4, 5, 6})),
         bytes({1, 2, 3, 0, 4, 5, 6, 0})},
        {"8-bit, index past the table", bmpFile(3, 1, 8, bytes({1, 0, 7, 0}), {0x102030, 0x405060}),
         bytes({0x60, 0x50, 0x40, 0x30, 0x20, 0x10, 0, 0, 0, 0, 0, 0})},
        {"4-bit", bmpFile(3, 1, 4, bytes({0x12, 0x30, 0, 0}), {0, 0xFF, 0xFF00, 0xFF0000}),
         bytes({0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0})},
        {"4-bit, more colours used than the table holds",
         withI32(bmpFile(1, 1, 4, bytes({0xF0, 0, 0, 0}), std::vector<std::uint32_t>(16, 0x0A0B0C)),
                 46, 20),
         bytes({0x0C, 0x0B, 0x0A, 0})},
        {"16-bit 5-5-5", bmpFile(2, 1, 16, bytes({0x00, 0x7C, 0x10, 0x00})),
         bytes({0, 0, 0xFF, 0x84, 0, 0, 0, 0})},
        {"16-bit 5-6-5, red's mask a bit beyond the pixel",
         bmpFile(2, 1, 16, bytes({0xE0, 0x07, 0x01, 0x04}), {}, {0x1F800, 0x07E0, 0x001F}),
         bytes({0, 0xFF, 0, 8, 0x82, 0, 0, 0})},
        {"32-bit", bmpFile(1, 1, 32, bytes({0x10, 0x20, 0x30, 0xFF})),
         bytes({0x10, 0x20, 0x30, 0})},
        {"32-bit R and G fields, a one-bit B",
         bmpFile(1, 1, 32, bytes({0x99, 0x31, 0x20, 0x10}), {}, {0xFF000000, 0xFF0000, 0x100}),
         bytes({0xFF, 0x20, 0x10, 0})},
    };
    for (const auto& [what, file, expected] : cases) {
        const DecodeResult result = decodeBmp(asBytes(file));
        EXPECT_TRUE(result) << what << ": " << describeDecodeError(result.error);
        EXPECT_EQ(std::string(result.image.pixels.begin(), result.image.pixels.end()), expected)
            << what;
    }
}

TEST(BmpReader, RefusesWhatItCannotShow) {
    const std::string good = bmpFile(2, 2, 24, std::string(16, 'x'));
    const std::string indexed = bmpFile(1, 1, 8, "abcd");
    const std::pair<std::string, DecodeError> cases[] = {
        {good.substr(0, 53), DecodeError::Truncated},
        {good.substr(0, good.size() - 3), DecodeError::Truncated},
        {withI32(good, 10, 0x7FFFFFF0), DecodeError::Truncated}, // pixel offset
        {withI32(good, 14, -1), DecodeError::Truncated},         // information header size
        {withI32(good, 22, 3), DecodeError::Truncated},          // height
        {withI32(indexed, 46, 200), DecodeError::Truncated},     // colours used
        {withI32(good, 14, 12), DecodeError::UnsupportedHeader},
        {withI32(good, 18, 0), DecodeError::BadSize},
        {withI32(good, 22, -0x7FFFFFFF - 1), DecodeError::BadSize},
        {withI32(indexed, 30, 1), DecodeError::Compressed}, // run-length 8-bit
        {withI32(good, 28, 7), DecodeError::UnsupportedBitCount},
        {withI32(good, 30, 3), DecodeError::UnsupportedBitCount}, // bit fields on 24 bits
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(decodeBmp(asBytes(cases[i].first)).error, cases[i].second) << "case " << i;
}

using Pixels = std::vector<std::uint8_t>;

constexpr std::size_t kPixelsOffset = 76 + 40 + 24;

TEST(MatWriter, WritesOneTextureRecordAndOneImageTopRowFirst) {
    // One pixel wide, two high: black above white.
    const Pixels rgba{0, 0, 0, 255, 255, 255, 255, 255};
    const RgbaImage image{1, 2, rgba};
    const auto written = [&](MatPixels format) {
        const EncodeResult file = encodeMat(image, format, builtIn());
        EXPECT_TRUE(file);
        return std::string(file.bytes.begin(), file.bytes.end());
    };
    const Bytes start = Bytes().raw("MAT ").i32(0x32).i32(2).i32(1).i32(1);
    // The cel record, then the image's header.
    Bytes after = Bytes().i32(8).i32(0).u32(0x3F800000).u32(0x3F800000).u32(0x3F800000);
    after.u32(0x3F800000).zeros(12).i32(0).i32(1).i32(2).zeros(12).i32(1);
    // Black is entry 0 and white entry 16 of the built-in palette.
    EXPECT_EQ(written(MatPixels::Indexed), Bytes(start).i32(0).i32(8).zeros(48).str() +
                                               after.str() + std::string("\x00\x10", 2));
    Bytes rgbHeader = Bytes(start).i32(1).i32(16).i32(5).i32(6).i32(5).i32(11).i32(5).i32(0);
    rgbHeader.i32(3).i32(2).i32(3).zeros(12);
    EXPECT_EQ(written(MatPixels::Rgb565),
              rgbHeader.str() + after.str() + std::string("\x00\x00\xFF\xFF", 4));
}

// The pixels of a one-row image written: the pixel bytes of the file, and the colours the
// reader shows for them.
std::pair<Pixels, Pixels> roundTrip(const std::vector<Pixels>& pixels, MatPixels format,
                                    const Palette& palette) {
    Pixels rgba;
    for (const Pixels& pixel : pixels)
        rgba.insert(rgba.end(), pixel.begin(), pixel.end());
    const int width = static_cast<int>(pixels.size());
    const EncodeResult file = encodeMat({width, 1, rgba}, format, palette);
    EXPECT_TRUE(file);
    const DecodeResult decoded = decodeMat(file.bytes, palette);
    EXPECT_TRUE(decoded);
    EXPECT_EQ(decoded.image.width, width);
    return {
        Pixels(file.bytes.begin() + std::min(kPixelsOffset, file.bytes.size()), file.bytes.end()),
        decoded.image.pixels};
}

// Each row is one pixel: the file must hold its index, and the reader show that index's colour.
TEST(MatWriter, EightBitsTakeTheNearestPaletteColourAndTheLowerIndexOnATie) {
    Palette palette;
    palette.entries.fill({255, 255, 255});
    const Rgb firstColours[] = {{0, 0, 0},   {200, 0, 0},   {0, 200, 0}, {100, 100, 100},
                                {200, 0, 0}, {60, 60, 200}, {0, 0, 100}};
    std::copy(std::begin(firstColours), std::end(firstColours), palette.entries.begin());
    const std::pair<Pixels, std::uint8_t> rows[] = {
        {{200, 0, 0, 255}, 1},     // an exact colour that entry 4 repeats
        {{255, 255, 255, 255}, 7}, // the first of 249 equal entries
        {{100, 0, 0, 255}, 0},     // as far from entry 0 as from entry 1
        {{101, 0, 0, 255}, 1},     // one step nearer to entry 1
        {{0, 0, 200, 255}, 5},     // squared distance 7200 to entry 5 beats 10000 to entry 6
        {{0, 0, 100, 255}, 6},     // differs from the row above in blue alone
        {{0, 200, 0, 0}, 0},       // transparent, though entry 2's colour
        {{0, 200, 0, 1}, 2},       // alpha 1 is not transparent
    };
    std::vector<Pixels> pixels;
    Pixels indices;
    Pixels shown;
    for (const auto& [rgba, index] : rows) {
        pixels.push_back(rgba);
        indices.push_back(index);
        const Rgb colour = palette.entries[index];
        shown.insert(shown.end(), {colour.r, colour.g, colour.b});
    }
    EXPECT_EQ(roundTrip(pixels, MatPixels::Indexed, palette), std::pair(indices, shown));
}

// Each row: a pixel, the 16-bit value written (red bits 15-11, green 10-5, blue 4-0, low byte
// first) and the colour the reader shows for it.
TEST(MatWriter, SixteenBitsRoundEachChannelToItsNearestLevel) {
    const struct {
        Pixels rgba;
        std::uint16_t value;
        Rgb shown;
    } rows[] = {
        {{0, 0, 0, 255}, 0x0000, {0, 0, 0}},
        {{255, 255, 255, 255}, 0xFFFF, {254, 254, 254}},
        {{37, 0, 0, 255}, 0x2000, {32, 0, 0}}, // 4.498 levels of red
        {{4, 0, 0, 255}, 0x0000, {0, 0, 0}},
        {{5, 0, 0, 255}, 0x0800, {8, 0, 0}},
        {{0, 3, 0, 255}, 0x0020, {0, 0, 0}}, // green's lowest bit, which only the game sees
        {{0, 7, 0, 255}, 0x0040, {0, 8, 0}},
        {{0, 0, 127, 255}, 0x000F, {0, 0, 123}},
        {{128, 128, 128, 255}, 0x8410, {131, 131, 131}},
        {{10, 20, 30, 0}, 0x08A4, {8, 16, 32}}, // alpha plays no part
    };
    std::vector<Pixels> pixels;
    Pixels values;
    Pixels shown;
    for (const auto& row : rows) {
        pixels.push_back(row.rgba);
        values.insert(values.end(), {static_cast<std::uint8_t>(row.value),
                                     static_cast<std::uint8_t>(row.value >> 8)});
        shown.insert(shown.end(), {row.shown.r, row.shown.g, row.shown.b});
    }
    EXPECT_EQ(roundTrip(pixels, MatPixels::Rgb565, builtIn()), std::pair(values, shown));
}

using Values = std::map<std::string, std::string>;
using enum TextureFormat;

const std::string kLabel = "Default (no file necessary)";

struct Loaded {
    FakeSettings settings;
    Preferences preferences;
    Palette palette;
    FakeMessageBox boxes;
};

// Loaded from a key that exists already, or from one made now.
Loaded load(Values values, bool exists = true) {
    Loaded loaded;
    loaded.settings.exists = exists;
    loaded.settings.values = std::move(values);
    loaded.preferences.cmpFile = "stale";
    loadPreferences(loaded.preferences, loaded.palette, loaded.settings, loaded.boxes);
    return loaded;
}

TEST(Preferences, NewKeyGetsTheDefaultsWritten) {
    const Loaded loaded = load({}, false);
    EXPECT_EQ(loaded.settings.values,
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
    // The stored text ends at its first NUL.
    EXPECT_EQ(load({{"CmpFile", good + '\0' + "x"}}).preferences.cmpFile, good);

    // Gone, or longer than the value buffer: replaced without a word.
    for (const std::string& stored : {(dir.path() / "gone.cmp").string(), std::string(260, 'a')}) {
        const Loaded silent = load({{"CmpFile", stored}});
        EXPECT_EQ(silent.preferences.cmpFile, kLabel);
        EXPECT_TRUE(silent.boxes.shown().empty());
    }

    const std::string notPalette = dir.write("notes.cmp", "cmp and some text");
    const Loaded reported = load({{"CmpFile", notPalette}});
    EXPECT_EQ(reported.boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                          {Window::None, notPalette, "Invalid CMP File", kMbOk}}));
    EXPECT_EQ(reported.preferences.cmpFile, kLabel);
}

// Damaged files of every kind the textures layer reads give a clean refusal or an image whose
// buffer matches the row layout the upload reads (for an archive, a directory whose files lie
// inside it). The sanitizer build runs this too.

// Three hundred damaged copies of each kind of file, shared among its seeds. Both outcomes
// must occur, or the damage missed what it is meant to exercise.
void mutateAll(const std::vector<std::string>& seeds,
               const std::function<bool(const std::string&)>& accepts) {
    Mutator mutator(20240611);
    const int perSeed = 300 / static_cast<int>(seeds.size());
    int accepted = 0;
    for (std::size_t s = 0; s < seeds.size(); ++s) {
        for (int i = 0; i < perSeed && !testing::Test::HasFailure(); ++i) {
            SCOPED_TRACE("seed " + std::to_string(s) + " mutant " + std::to_string(i));
            accepted += accepts(mutator.mutate(seeds[s])) ? 1 : 0;
        }
    }
    const int total = perSeed * static_cast<int>(seeds.size());
    EXPECT_GT(accepted, total / 10);
    EXPECT_LT(accepted, total - total / 10);
}

bool acceptable(const DecodeResult& result, std::size_t rowAlignment) {
    if (!result)
        return false;
    const DecodedImage& image = result.image;
    EXPECT_GT(image.width, 0);
    EXPECT_GT(image.height, 0);
    const std::size_t row = (static_cast<std::size_t>(image.width) * 3 + rowAlignment - 1) /
                            rowAlignment * rowAlignment;
    EXPECT_EQ(image.pixels.size(), row * static_cast<std::size_t>(image.height));
    return true;
}

TEST(MutatedInput, MatBmpGobAndCmpFiles) {
    const Palette palette = builtIn();
    const std::string m(12, '\x42');
    mutateAll({matColour(16), matTexture(4, 3, 8, m), matTexture(4, 3, 8, m, 5, "mipmap"),
               matTexture(3, 2, 16, m, 2)},
              [&](const std::string& bytes) {
                  return acceptable(decodeMat(asBytes(bytes), palette), 1);
              });
    const std::string b(24, '\x13');
    mutateAll({bmpFile(3, -2, 24, b), bmpFile(5, 3, 8, b, {1, 2, 3}), bmpFile(9, 2, 4, b, {1, 2}),
               bmpFile(3, 2, 16, b, {}, {0x7C00, 0x3E0, 0x1F}), bmpFile(2, 2, 32, b)},
              [](const std::string& bytes) { return acceptable(decodeBmp(asBytes(bytes)), 4); });
    mutateAll({gobArchive({{"mat\\wall.mat", matColour(3)}, {"3do\\mat\\crate.mat", "crate"}})},
              [](const std::string& bytes) {
                  const GobReadResult read = readGobDirectory(asBytes(bytes));
                  for (const char* name : {"mat\\wall.mat", "3do\\mat\\crate.mat"}) {
                      if (const GobEntry* entry = read ? read.directory.find(name) : nullptr) {
                          EXPECT_LE(std::uint64_t{entry->offset} + entry->length, bytes.size());
                      }
                  }
                  return static_cast<bool>(read);
              });
    mutateAll({cmpFile()}, [](const std::string& bytes) {
        Palette read;
        const bool accepted = decodeCmp(asBytes(bytes), read);
        EXPECT_EQ(accepted, bytes.size() >= 832 && bytes.compare(0, 3, "CMP") == 0);
        EXPECT_EQ(read.paletteFilled, accepted);
        return accepted;
    });
}

} // namespace
} // namespace sw::test
