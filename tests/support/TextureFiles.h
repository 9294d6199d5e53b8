#pragma once

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
std::string withI32(std::string bytes, std::size_t offset, std::int32_t value);

// MAT files as the game lays them out: the 76-byte header (type at 8, record count at 12,
// bits per pixel at 24), `records` cel records, then for a texture the first image's header,
// `pixels` (top row first) and `after` (further cels, mipmaps).
std::string matColour(std::int32_t index);
std::string matTexture(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                       std::string_view pixels, std::int32_t records = 1,
                       std::string_view after = {});

// A BMP file: file header, 40-byte information header, then the masks (which make it a
// BI_BITFIELDS file), the colour table (0xRRGGBB entries) and the pixel data as stored. A
// negative height makes it top-down.
std::string bmpFile(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    std::string_view pixels, const std::vector<std::uint32_t>& colours = {},
                    const std::vector<std::uint32_t>& masks = {});

// A GOB archive as the game lays it out: the header, the directory right after it (each name
// padded with NULs to 128 bytes), then the files' bytes in order.
struct GobFile {
    std::string name; // with backslashes, as the game writes it
    std::string bytes;
};
std::string gobArchive(const std::vector<GobFile>& files);

// A CMP palette whose entry i is (i, 255 - i, i / 2), after a header starting with `magic`.
std::string cmpFile(std::string_view magic = "CMP");
// The colours of those entries, R, G, B each, as decoded texels hold them.
std::vector<std::uint8_t> cmpColours(const std::vector<int>& indices);

} // namespace sw::test
