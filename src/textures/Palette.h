#pragma once

#include "platform/MessageBox.h"
#include "textures/Preferences.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace sw {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

// The 256 colours through which 8-bit MAT textures and colour materials get their RGB values:
// read from the CMP file the preferences name, or the built-in table.
struct Palette {
    std::array<Rgb, 256> entries{};
    // Set once a usable table was filled (built-in or from a file). A failed load fills the
    // built-in table only while this is false; otherwise the colours in use stay.
    bool paletteFilled = false;
};

// Fills the built-in colours and sets paletteFilled.
void buildDefaultPalette(Palette& palette);

// Takes the colours of a CMP file's bytes. False, with the palette untouched, when the bytes
// do not start with "CMP" (upper case) or end before the 256th colour.
bool decodeCmp(std::span<const std::uint8_t> bytes, Palette& palette);
// Takes the colours of the CMP file `path` names. False, with the palette untouched, when the
// file cannot be read (too large to hold in memory included) or is no palette.
bool readCmpFile(const std::string& path, Palette& palette);

// Loads the palette that preferences.cmpFile names: the built-in table for
// kDefaultPaletteLabel in any letter case, else the CMP file. A file that cannot be opened or
// is no CMP file shows "Invalid CMP File" with the path (owned by `owner`: Window::None while
// the program starts) and turns cmpFile into kDefaultPaletteLabel.
void loadPalette(Palette& palette, Preferences& preferences, MessageBoxService& messageBoxes,
                 Window owner);

} // namespace sw
