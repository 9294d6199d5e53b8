#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sw::test {

// Little-endian binary fixtures.
class Bytes {
public:
    Bytes& u8(std::uint8_t value) { return raw(std::string(1, static_cast<char>(value))); }
    Bytes& u16(std::uint16_t value) {
        return u8(value & 0xFF).u8(static_cast<std::uint8_t>(value >> 8));
    }
    Bytes& u32(std::uint32_t value) {
        return u16(value & 0xFFFF).u16(static_cast<std::uint16_t>(value >> 16));
    }
    Bytes& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Bytes& raw(std::string_view bytes) {
        bytes_ += bytes;
        return *this;
    }
    Bytes& zeros(std::size_t count) { return raw(std::string(count, '\0')); }
    const std::string& str() const { return bytes_; }

private:
    std::string bytes_;
};

inline std::span<const std::uint8_t> asBytes(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// `bytes` with the little-endian int32 at `offset` replaced.
inline std::string withI32(std::string bytes, std::size_t offset, std::int32_t value) {
    return bytes.replace(offset, 4, Bytes().i32(value).str());
}

// MAT files as the game lays them out: the 76-byte header (type at 8, record count at 12,
// bits per pixel at 24), `records` cel records, then for a texture the first image's header,
// `pixels` (top row first) and `after` (further cels, mipmaps).
inline Bytes matHeader(std::int32_t type, std::int32_t records, std::int32_t bitsPerPixel) {
    Bytes b;
    b.raw("MAT ").u32(0x32).i32(type).i32(records).i32(records).u32(0).i32(bitsPerPixel);
    return b.zeros(76 - 28);
}
inline std::string matColour(std::int32_t index) {
    return matHeader(0, 1, 8).u32(0).i32(index).zeros(16).str();
}
inline std::string matTexture(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                              std::string_view pixels, std::int32_t records = 1,
                              std::string_view after = {}) {
    Bytes b = matHeader(2, records, bitsPerPixel);
    for (std::int32_t r = 0; r < std::max(records, 1); ++r)
        b.u32(8).zeros(36);
    return b.i32(width).i32(height).zeros(16).raw(pixels).raw(after).str();
}

// A BMP file: file header, 40-byte information header, then the masks (which make it a
// BI_BITFIELDS file), the colour table (0xRRGGBB entries) and the pixel data as stored. A
// negative height makes it top-down.
inline std::string bmpFile(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                           std::string_view pixels, const std::vector<std::uint32_t>& colours = {},
                           const std::vector<std::uint32_t>& masks = {}) {
    const auto headers = static_cast<std::uint32_t>(54 + (masks.size() + colours.size()) * 4);
    const auto size = static_cast<std::uint32_t>(pixels.size());
    Bytes b;
    b.raw("BM").u32(headers + size).u32(0).u32(headers).u32(40).i32(width).i32(height).u16(1);
    b.u16(bitCount).u32(masks.empty() ? 0 : 3).u32(size).u32(2835).u32(2835);
    b.u32(static_cast<std::uint32_t>(colours.size())).u32(0);
    for (std::uint32_t value : masks)
        b.u32(value);
    for (std::uint32_t value : colours)
        b.u32(value); // B, G, R, reserved in the file's byte order
    return b.raw(pixels).str();
}

// A GOB archive as the game lays it out: the header, the directory right after it (each name
// padded with NULs to 128 bytes), then the files' bytes in order.
struct GobFile {
    std::string name; // with backslashes, as the game writes it
    std::string bytes;
};
inline std::string gobArchive(const std::vector<GobFile>& files) {
    Bytes b;
    b.raw("GOB ").u32(0x14).u32(12).u32(static_cast<std::uint32_t>(files.size()));
    std::size_t offset = 16 + files.size() * 136;
    for (const GobFile& file : files) {
        b.u32(static_cast<std::uint32_t>(offset))
            .u32(static_cast<std::uint32_t>(file.bytes.size()));
        b.raw(file.name).zeros(128 - file.name.size());
        offset += file.bytes.size();
    }
    for (const GobFile& file : files)
        b.raw(file.bytes);
    return b.str();
}

// The colours of CMP palette entries i, (i, 255 - i, i / 2) each, as decoded texels hold them.
inline std::vector<std::uint8_t> cmpColours(const std::vector<int>& indices) {
    std::vector<std::uint8_t> colours;
    for (int i : indices)
        colours.insert(colours.end(),
                       {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                        static_cast<std::uint8_t>(i / 2)});
    return colours;
}
// A CMP palette of those entries, after a header starting with `magic`.
inline std::string cmpFile(std::string_view magic = "CMP") {
    Bytes b;
    b.raw(magic).zeros(64 - magic.size());
    for (int i = 0; i < 256; ++i)
        for (std::uint8_t byte : cmpColours({i}))
            b.u8(byte);
    return b.str();
}

} // namespace sw::test
