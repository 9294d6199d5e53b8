#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sw {

class MessageBoxService;
class SettingsStore;
struct Palette;

// Stands for the built-in palette wherever a palette file path is expected.
inline constexpr std::string_view kDefaultPaletteLabel = "Default (no file necessary)";

enum class TextureFormat { Mat, Bmp };

// The three settings that steer texture loading. A default-constructed record holds the
// defaults a first start uses.
struct Preferences {
    std::string cmpFile{kDefaultPaletteLabel}; // palette file, or kDefaultPaletteLabel
    TextureFormat primaryFormat =
        TextureFormat::Mat;        // searched first; the readers fall back from it
    bool loadBmpIfMatFails = true; // with MAT first: also search BMP files, and hand over to BMP
    bool loadMatIfBmpFails = true; // with BMP first: also search MAT files, and hand over to MAT

    bool operator==(const Preferences&) const = default;
};

// The formats a texture search looks for, in order: the primary one, then the other when the
// primary one's fallback is on.
std::vector<TextureFormat> searchedFormats(const Preferences& preferences);

// Reads the preferences from the settings store (writing the defaults into a key made just
// now), then loads the palette they name. A palette file that cannot be opened is replaced by
// kDefaultPaletteLabel without a word; a file that opens but is no palette is reported by
// loadPalette. Nothing else is reported: an unreadable value counts as missing.
void loadPreferences(Preferences& preferences, Palette& palette, SettingsStore& store,
                     MessageBoxService& messageBoxes);

// The palette file the stored preferences name, as loadPreferences takes it (a file that has
// gone is kDefaultPaletteLabel), without writing anything.
std::string storedPaletteFile(SettingsStore& store);

// Writes the three values; a failed write goes unnoticed.
void savePreferences(const Preferences& preferences, SettingsStore& store);

} // namespace sw
