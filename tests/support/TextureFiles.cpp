#include "support/TextureFiles.h"

#include <algorithm>

namespace sw::test {

Bytes& Bytes::u8(std::uint8_t value) {
    bytes_ += static_cast<char>(value);
    return *this;
}

Bytes& Bytes::u16(std::uint16_t value) {
    return u8(static_cast<std::uint8_t>(value)).u8(static_cast<std::uint8_t>(value >> 8));
}

Bytes& Bytes::u32(std::uint32_t value) {
    return u16(static_cast<std::uint16_t>(value)).u16(static_cast<std::uint16_t>(value >> 16));
}

Bytes& Bytes::zeros(std::size_t count) {
    bytes_.append(count, '\0');
    return *this;
}

Bytes& Bytes::raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
}

std::string withI32(std::string bytes, std::size_t offset, std::int32_t value) {
    bytes.replace(offset, 4, Bytes().i32(value).str());
    return bytes;
}

namespace {

Bytes matHeader(std::int32_t type, std::int32_t records, std::int32_t bitsPerPixel) {
    Bytes b;
    b.raw("MAT ").u32(0x32).i32(type).i32(records).i32(records).u32(0).i32(bitsPerPixel);
    b.zeros(76 - 28);
    return b;
}

} // namespace

std::string matColour(std::int32_t index, std::int32_t records) {
    Bytes b = matHeader(0, records, 8);
    for (std::int32_t r = 0; r < std::max(records, 1); ++r)
        b.u32(0).i32(r == 0 ? index : 0).zeros(16);
    return b.str();
}

std::string matTexture(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                       std::string_view pixels, std::int32_t records, std::string_view after) {
    Bytes b = matHeader(2, records, bitsPerPixel);
    for (std::int32_t r = 0; r < std::max(records, 1); ++r)
        b.u32(8).zeros(36);
    b.i32(width).i32(height).zeros(16).raw(pixels).raw(after);
    return b.str();
}

std::string bmpFile(const BmpSpec& spec) {
    const std::size_t headers = 14 + 40 + spec.masks.size() * 4 + spec.colours.size() * 4;
    Bytes b;
    b.raw("BM").u32(static_cast<std::uint32_t>(headers + spec.pixels.size())).u32(0);
    b.u32(static_cast<std::uint32_t>(headers));
    b.u32(40).i32(spec.width).i32(spec.height).u16(1).u16(spec.bitCount).u32(spec.compression);
    b.u32(static_cast<std::uint32_t>(spec.pixels.size())).u32(2835).u32(2835);
    b.u32(spec.coloursUsed).u32(0);
    for (std::uint32_t mask : spec.masks)
        b.u32(mask);
    for (std::uint32_t colour : spec.colours)
        b.u8(static_cast<std::uint8_t>(colour))
            .u8(static_cast<std::uint8_t>(colour >> 8))
            .u8(static_cast<std::uint8_t>(colour >> 16))
            .u8(0);
    b.raw(spec.pixels);
    return b.str();
}

std::string cmpFile(std::string_view magic, std::string_view table) {
    Bytes b;
    b.raw(magic).zeros(64 - magic.size());
    if (!table.empty()) {
        b.raw(table);
    } else {
        for (int i = 0; i < 256; ++i)
            b.u8(static_cast<std::uint8_t>(i))
                .u8(static_cast<std::uint8_t>(255 - i))
                .u8(static_cast<std::uint8_t>(i / 2));
    }
    return b.str();
}

} // namespace sw::test
