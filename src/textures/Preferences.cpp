#include "textures/Preferences.h"

#include "model/Model.h"
#include "platform/SettingsStore.h"
#include "textures/FileBytes.h"
#include "textures/Palette.h"

#include <optional>

namespace sw {

namespace {

// Value names and texts of the stored form; the same on every platform.
constexpr const char* kCmpFileValue = "CmpFile";
constexpr const char* kPrimaryValue = "PrimaryTex";
constexpr const char* kSecondaryValue = "SecondaryTex";
constexpr const char* kMat = "MAT";
constexpr const char* kBmp = "BMP";
constexpr const char* kNone = "NONE";
constexpr const char* kBoth = "BOTH";

// A value is read into a buffer of a path's size: a longer one does not read, and the text
// ends at its first NUL.
std::optional<std::string> readValue(SettingsStore& store, const char* name) {
    std::optional<std::string> value = store.readString(name);
    if (!value)
        return std::nullopt;
    if (const auto nul = value->find('\0'); nul != std::string::npos)
        value->resize(nul);
    if (value->size() > kMaxPathLength)
        return std::nullopt;
    return value;
}

// The stored palette file, or the built-in table when none is stored. A palette file that has
// gone since it was chosen falls back to the built-in table silently; only one that is there
// but holds no palette is worth a message.
std::string paletteFileOf(const std::optional<std::string>& stored) {
    if (!stored || (*stored != kDefaultPaletteLabel && !canOpenFile(*stored)))
        return std::string(kDefaultPaletteLabel);
    return *stored;
}

} // namespace

std::vector<TextureFormat> searchedFormats(const Preferences& preferences) {
    if (preferences.primaryFormat == TextureFormat::Mat)
        return preferences.loadBmpIfMatFails ? std::vector{TextureFormat::Mat, TextureFormat::Bmp}
                                             : std::vector{TextureFormat::Mat};
    return preferences.loadMatIfBmpFails ? std::vector{TextureFormat::Bmp, TextureFormat::Mat}
                                         : std::vector{TextureFormat::Bmp};
}

void loadPreferences(Preferences& preferences, Palette& palette, SettingsStore& store,
                     MessageBoxService& messageBoxes) {
    bool created = false;
    const bool open = store.openOrCreate(created);
    if (open && created) {
        store.writeString(kCmpFileValue, std::string(kDefaultPaletteLabel));
        store.writeString(kPrimaryValue, kMat);
        store.writeString(kSecondaryValue, kBoth);
    }
    const auto read = [&](const char* name) {
        return open ? readValue(store, name) : std::nullopt;
    };

    const auto primary = read(kPrimaryValue);
    preferences.primaryFormat = primary == kBmp ? TextureFormat::Bmp : TextureFormat::Mat;

    // "BOTH", and any text that is none of the others, turns both fallbacks on.
    const auto secondary = read(kSecondaryValue);
    preferences.loadBmpIfMatFails = !(secondary == kNone || secondary == kMat);
    preferences.loadMatIfBmpFails = !(secondary == kNone || secondary == kBmp);

    preferences.cmpFile = paletteFileOf(read(kCmpFileValue));

    loadPalette(palette, preferences, messageBoxes, Window::None);
}

std::string storedPaletteFile(SettingsStore& store) {
    bool created = false;
    return paletteFileOf(store.openOrCreate(created) ? readValue(store, kCmpFileValue)
                                                     : std::nullopt);
}

void savePreferences(const Preferences& preferences, SettingsStore& store) {
    bool created = false;
    if (!store.openOrCreate(created))
        return;
    store.writeString(kCmpFileValue, preferences.cmpFile);
    store.writeString(kPrimaryValue, preferences.primaryFormat == TextureFormat::Mat ? kMat : kBmp);
    const char* secondary = kNone;
    if (preferences.loadBmpIfMatFails && preferences.loadMatIfBmpFails)
        secondary = kBoth;
    else if (preferences.loadBmpIfMatFails)
        secondary = kBmp;
    else if (preferences.loadMatIfBmpFails)
        secondary = kMat;
    store.writeString(kSecondaryValue, secondary);
}

} // namespace sw
