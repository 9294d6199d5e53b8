#include "textures/Palette.h"

#include "textures/FileBytes.h"
#include "textures/FileLayout.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace sw {

namespace {

// The built-in colours as 0xRRGGBB; entries 192 to 254 are magenta and 255 white.
constexpr std::uint32_t kDefaultColours[192] = {
    0x000000, 0x00FF00, 0x00CB00, 0x009B00, 0x006B00, 0x003B00, 0xFF0000, 0xCB0000, 0x9B0000,
    0x6B0000, 0x3B0000, 0xF7FF00, 0xD7A300, 0xAF5700, 0x871F00, 0x5F0000, 0xFFFFFF, 0xDFE7FF,
    0xC3D7FF, 0xA3C3FF, 0x87AFFF, 0xFFAB00, 0xFF9F00, 0xFF9300, 0xFF8300, 0xFF6F00, 0xFF5B00,
    0xFF4700, 0xFF3300, 0xFF2300, 0xFF0F00, 0x0000FF, 0xFDFDFD, 0xF7F7F7, 0xEFEFEF, 0xE3E3E3,
    0xDBDBDB, 0xD3D3D3, 0xCBCBCB, 0xC3C3C3, 0xBBBBBB, 0xB3B3B3, 0xABABAB, 0xA3A3A3, 0x9B9B9B,
    0x939393, 0x8B8B8B, 0x838383, 0x7B7B7B, 0x737373, 0x6B6B6B, 0x636363, 0x575757, 0x4F4F4F,
    0x474747, 0x3F3F3F, 0x373737, 0x2F2F2F, 0x272727, 0x1F1F1F, 0x171717, 0x0F0F0F, 0x070707,
    0x000000, 0xBFC7DF, 0xB7BFD7, 0xB3B7CF, 0xABB3CB, 0xA3ABC3, 0x9FA3BB, 0x979FB7, 0x9397AF,
    0x8B8FA7, 0x878BA3, 0x7F839B, 0x777B93, 0x73778B, 0x6B6F87, 0x676B7F, 0x5F6377, 0x5B5F73,
    0x57576B, 0x4F5363, 0x4B4B5F, 0x434757, 0x3F3F4F, 0x373B4B, 0x333343, 0x2F2F3B, 0x272B37,
    0x23232F, 0x1F1F27, 0x171B23, 0x13131B, 0x0F0F13, 0x0B0B0F, 0xFFCFB3, 0xE7AF8F, 0xCF8F6F,
    0xB77757, 0x9F5B3F, 0x87472B, 0x6F331B, 0x57230F, 0xFFFF00, 0xE3C300, 0xC78F00, 0xAB6300,
    0x933F00, 0x771F00, 0x5B0B00, 0x430000, 0xDFFFA7, 0xCFEF87, 0xBFDF67, 0xB3CF4B, 0xA7BF33,
    0x9FAF1F, 0x979F0B, 0x8F9300, 0xC7631F, 0xB75717, 0xAB4B13, 0x9B3F0B, 0x8F3707, 0x7F2F07,
    0x732700, 0x671F00, 0xFB0000, 0xE30000, 0xC70000, 0xAB0000, 0x8F0000, 0x730000, 0x570000,
    0x390000, 0x7FA3C7, 0x5F7FAB, 0x435F93, 0x2B437B, 0x17275F, 0x0B1347, 0x00072F, 0x000017,
    0xC37347, 0xB76B3F, 0xAF633B, 0xA35B33, 0x9B572F, 0x934F2B, 0x874723, 0x7F431F, 0x733B1B,
    0x6B3717, 0x632F13, 0x572B0F, 0x4F270F, 0x431F0B, 0x3B1B07, 0x331707, 0xFFE7B3, 0xEFD39B,
    0xDFC387, 0xD3B377, 0xC3A363, 0xB79353, 0xA78747, 0x977737, 0x8B672B, 0x7B5B1F, 0x6F4F17,
    0x5F430F, 0x4F370B, 0x432B07, 0x331F00, 0x271700, 0x83E767, 0x73CF53, 0x63B743, 0x539F37,
    0x478B2B, 0x3B731F, 0x2F5B17, 0x23470F, 0xFFA7FF, 0xDF7FE7, 0xC35FCF, 0xA343B7, 0x872B9F,
    0x6B1787, 0x4F076F, 0x37005B,
};
constexpr Rgb kMagenta{0xFF, 0x00, 0xFF};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

bool isDefaultLabel(std::string_view text) {
    return text.size() == kDefaultPaletteLabel.size() &&
           std::equal(text.begin(), text.end(), kDefaultPaletteLabel.begin(), [](char a, char b) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(a) == lower(b);
           });
}

} // namespace

void buildDefaultPalette(Palette& palette) {
    for (std::size_t i = 0; i < std::size(kDefaultColours); ++i) {
        const std::uint32_t c = kDefaultColours[i];
        palette.entries[i] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                              static_cast<std::uint8_t>(c)};
    }
    std::fill(palette.entries.begin() + std::size(kDefaultColours), palette.entries.end() - 1,
              kMagenta);
    palette.entries.back() = kWhite;
    palette.paletteFilled = true;
}

bool decodeCmp(std::span<const std::uint8_t> bytes, Palette& palette) {
    if (bytes.size() < cmp::kFileSize ||
        std::memcmp(bytes.data(), cmp::kMagic, sizeof cmp::kMagic) != 0)
        return false;
    const std::uint8_t* colour = bytes.data() + cmp::kHeaderSize;
    for (Rgb& entry : palette.entries) {
        entry = {colour[0], colour[1], colour[2]};
        colour += 3;
    }
    palette.paletteFilled = true;
    return true;
}

bool readCmpFile(const std::string& path, Palette& palette) {
    FileBytes file;
    try {
        file = readFileBytes(path);
    } catch (const std::bad_alloc&) {
        // A file too large to hold in memory is no palette either.
    }
    return file.status == FileStatus::Read && decodeCmp(file.bytes, palette);
}

void loadPalette(Palette& palette, Preferences& preferences, MessageBoxService& messageBoxes,
                 Window owner) {
    if (isDefaultLabel(preferences.cmpFile)) {
        buildDefaultPalette(palette);
        return;
    }
    if (readCmpFile(preferences.cmpFile, palette))
        return;
    if (!palette.paletteFilled)
        buildDefaultPalette(palette);
    messageBoxes.messageBox(owner, preferences.cmpFile, "Invalid CMP File", kMbOk);
    preferences.cmpFile = kDefaultPaletteLabel;
}

} // namespace sw
