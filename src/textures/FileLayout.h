#pragma once

// On-disk layouts of the files the textures layer reads (and of the MAT files it writes). All
// integers are little-endian.

#include <cstddef>
#include <cstdint>

namespace sw {

namespace cmp {
// A palette: a 64-byte header starting with the bytes C, M, P, then 256 R, G, B triples.
inline constexpr char kMagic[] = {'C', 'M', 'P'};
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kColourCount = 256;
inline constexpr std::size_t kTableSize = kColourCount * 3;
inline constexpr std::size_t kFileSize = kHeaderSize + kTableSize; // nothing after it is read
} // namespace cmp

namespace mat {
// The 76-byte header. Only the material type, the record count and the bit depth are used;
// the magic, the version and the colour-format fields are not examined.
inline constexpr std::size_t kHeaderSize = 76;
inline constexpr std::size_t kTypeOffset = 8;          // int32: 0 colour material, else texture
inline constexpr std::size_t kRecordCountOffset = 12;  // int32: records ahead of the first image
inline constexpr std::size_t kBitsPerPixelOffset = 24; // int32: 8 palette indices, else 16-bit
inline constexpr std::int32_t kColourType = 0;
inline constexpr std::int32_t kPaletteBits = 8;

// A colour material: 24-byte records after the header; the first one names the colour.
inline constexpr std::size_t kColourRecordSize = 24;
inline constexpr std::size_t kColourIndexOffset = 4; // int32 palette index
inline constexpr int kColourImageSide = 8;           // shown as 8 x 8 texels of that colour

// A texture: one 40-byte record per cel after the header, then the first cel's image header
// and its pixels, top row first (mipmaps and the other cels follow and are not read).
inline constexpr std::size_t kTextureRecordSize = 40;
inline constexpr std::size_t kImageHeaderSize = 24;
inline constexpr std::size_t kImageWidthOffset = 0;  // int32
inline constexpr std::size_t kImageHeightOffset = 4; // int32

// Fields the reader passes over but the game reads, and that a writer fills in.
inline constexpr char kMagic[] = {'M', 'A', 'T', ' '};
inline constexpr std::size_t kVersionOffset = 4; // int32
inline constexpr std::int32_t kVersion = 0x32;
inline constexpr std::int32_t kTextureType = 2;
inline constexpr std::size_t kCelCountOffset = 16;   // int32: images, one per record
inline constexpr std::size_t kColourModeOffset = 20; // int32
inline constexpr std::int32_t kIndexedMode = 0;
inline constexpr std::int32_t kRgbMode = 1;
inline constexpr std::int32_t kRgbBits = 16;
// The colour format of 16-bit pixels, each an int32 for red, green and blue in turn: bits
// per channel, the shift of the channel in the pixel, the bits dropped from an 8-bit value.
// Alpha's three fields follow and stay 0. 8-bit files leave all of them 0.
inline constexpr std::size_t kChannelBitsOffset = 28;
inline constexpr std::size_t kChannelShiftOffset = 40;
inline constexpr std::size_t kChannelLossOffset = 52;
inline constexpr std::int32_t kRgb565Bits[3] = {5, 6, 5};
inline constexpr std::int32_t kRgb565Shift[3] = {11, 5, 0};
inline constexpr std::int32_t kRgb565Loss[3] = {3, 2, 3};

// The texture record: its type, a transparent colour, four floats of 1.0 as the game's own
// files have them, then fields the engine ignores, and last the index of its image.
inline constexpr std::size_t kRecordTypeOffset = 0; // int32
inline constexpr std::int32_t kTextureRecordType = 8;
inline constexpr std::size_t kRecordFloatsOffset = 8;
inline constexpr std::size_t kRecordFloatCount = 4;
inline constexpr std::uint32_t kOneAsFloatBits = 0x3F800000;
inline constexpr std::size_t kRecordCelIndexOffset = 36; // int32

// The image header: after the size a transparency flag (0), two zero fields, and the number
// of mipmap levels whose pixels follow, largest first.
inline constexpr std::size_t kMipmapCountOffset = 20; // int32
} // namespace mat

namespace bmp {
// The 14-byte file header followed by a bitmap information header of at least 40 bytes
// (the later V4 and V5 headers extend it; the 12-byte OS/2 header is not read).
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kPixelOffsetOffset = 10; // uint32 bfOffBits
inline constexpr std::size_t kInfoSizeOffset = 14;    // uint32 biSize
inline constexpr std::size_t kWidthOffset = 18;       // int32 biWidth
inline constexpr std::size_t kHeightOffset = 22;      // int32 biHeight, negative: top-down
inline constexpr std::size_t kBitCountOffset = 28;    // uint16 biBitCount
inline constexpr std::size_t kCompressionOffset = 30; // uint32 biCompression
inline constexpr std::size_t kColoursUsedOffset = 46; // uint32 biClrUsed, 0: 2^bit count
inline constexpr std::size_t kMinInfoSize = 40;
inline constexpr std::size_t kMasksOffset = 54; // red, green, blue uint32 masks of BI_BITFIELDS
inline constexpr std::size_t kMasksSize = 12;
inline constexpr std::size_t kColourEntrySize = 4; // B, G, R, reserved
inline constexpr std::size_t kRowAlignment = 4;    // every row is padded to a multiple of 4

inline constexpr std::uint32_t kCompressionNone = 0;           // BI_RGB
inline constexpr std::uint32_t kCompressionBitfields = 3;      // BI_BITFIELDS
inline constexpr std::uint32_t kCompressionAlphaBitfields = 6; // BI_ALPHABITFIELDS
} // namespace bmp

namespace gob {
// A resource archive of the game (.gob, .goo): a 12-byte header, then wherever the header
// says a directory of a count and one 136-byte entry per file. Folders in a name are
// separated by backslashes ("mat\wall.mat"); the name ends at its first NUL. The header's
// version (int32 at 4) is not examined.
inline constexpr char kMagic[] = {'G', 'O', 'B', ' '};
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kDirectoryOffsetOffset = 8; // uint32, from the start of the file
inline constexpr std::size_t kCountSize = 4;             // uint32 at the directory's start
inline constexpr std::size_t kEntrySize = 136;
inline constexpr std::size_t kEntryOffsetOffset = 0; // uint32, from the start of the file
inline constexpr std::size_t kEntryLengthOffset = 4; // uint32
inline constexpr std::size_t kEntryNameOffset = 8;
inline constexpr std::size_t kEntryNameSize = 128;
} // namespace gob

// Little-endian fields; the caller has checked that the bytes are there.
inline std::uint16_t readU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}
inline std::uint32_t readU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}
inline std::int32_t readI32(const std::uint8_t* at) {
    return static_cast<std::int32_t>(readU32(at));
}
inline void writeU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void writeI32(std::uint8_t* at, std::int32_t value) {
    writeU32(at, static_cast<std::uint32_t>(value));
}

} // namespace sw
