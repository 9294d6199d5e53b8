#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sw::test {

// Builds little-endian binary fixtures.
class Bytes {
public:
    Bytes& u8(std::uint8_t value);
    Bytes& u16(std::uint16_t value);
    Bytes& u32(std::uint32_t value);
    Bytes& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Bytes& zeros(std::size_t count);
    Bytes& raw(std::string_view bytes);
    const std::string& str() const { return bytes_; }

private:
    std::string bytes_;
};

// `bytes` with the little-endian int32 at `offset` replaced.
std::string withI32(std::string bytes, std::size_t offset, std::int32_t value);

inline std::span<const std::uint8_t> asBytes(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// MAT files as the game lays them out: the 76-byte header (type at 8, record count at 12,
// bits per pixel at 24), `records` records, then for a texture the first image's header and
// `pixels` (top row first) and anything in `after` (further cels, mipmaps).
std::string matColour(std::int32_t index, std::int32_t records = 1);
std::string matTexture(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                       std::string_view pixels, std::int32_t records = 1,
                       std::string_view after = {});

// A BMP file: the 14-byte file header, a 40-byte information header, the masks (for
// BI_BITFIELDS), the colour table (0xRRGGBB entries) and the pixel data as stored.
struct BmpSpec {
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks = {};
    std::vector<std::uint32_t> colours = {};
    std::uint32_t coloursUsed = 0;
    std::string pixels = {};
};
std::string bmpFile(const BmpSpec& spec);

// A CMP palette: `magic` (normally "CMP") padded to the 64-byte header, then entry i as
// (i, 255 - i, i / 2) unless `table` gives the 768 bytes.
std::string cmpFile(std::string_view magic = "CMP", std::string_view table = {});

} // namespace sw::test
