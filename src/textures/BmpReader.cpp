#include "textures/BmpReader.h"

#include "textures/FileBytes.h"
#include "textures/FileLayout.h"
#include "textures/MatReader.h"
#include "textures/MaterialImage.h"

#include <array>
#include <bit>
#include <cstring>

namespace sw {

namespace {

DecodeResult refuse(DecodeError error) {
    DecodeResult result;
    result.error = error;
    return result;
}

// One colour channel of a 16- or 32-bit pixel, scaled from its mask's range to 0-255.
struct Channel {
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t mask) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (max == 0)
            return 0;
        const std::uint64_t value = (pixel >> shift) & max;
        return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
    }
};

struct Masks {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
};

// Without BI_BITFIELDS, 16-bit pixels are 5-5-5 and 32-bit ones B, G, R and a spare byte.
constexpr Masks kDefault16{0x7C00, 0x03E0, 0x001F};
constexpr Masks kDefault32{0xFF0000, 0x00FF00, 0x0000FF};

struct Layout {
    std::size_t width = 0;
    std::size_t height = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    std::size_t pixelOffset = 0;
    std::size_t stride = 0;
    Masks masks{};
    std::array<std::array<std::uint8_t, 3>, 256> colours{}; // B, G, R; missing entries black
};

void convertRow(const Layout& layout, const std::uint8_t* in, std::uint8_t* out) {
    const std::size_t w = layout.width;
    switch (layout.bitCount) {
    case 24:
        std::memcpy(out, in, w * 3);
        return;
    case 16:
    case 32: {
        const Channel red(layout.masks.red), green(layout.masks.green), blue(layout.masks.blue);
        const std::size_t size = layout.bitCount / 8;
        for (std::size_t x = 0; x < w; ++x, in += size, out += 3) {
            const std::uint32_t p = size == 2 ? readU16(in) : readU32(in);
            out[0] = blue(p);
            out[1] = green(p);
            out[2] = red(p);
        }
        return;
    }
    default: { // 1, 4 or 8 bits of colour table index, leftmost pixel in the high bits
        const unsigned bits = layout.bitCount;
        const unsigned perByte = 8 / bits;
        const unsigned mask = (1u << bits) - 1;
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x % perByte));
            const unsigned index = (in[x / perByte] >> shift) & mask;
            std::memcpy(out, layout.colours[index].data(), 3);
        }
        return;
    }
    }
}

// Fills `layout` from the headers; every offset and size it holds lies inside `bytes`.
DecodeError readLayout(std::span<const std::uint8_t> bytes, Layout& layout) {
    const std::uint8_t* data = bytes.data();
    const std::uint64_t size = bytes.size();
    if (size < bmp::kFileHeaderSize + bmp::kMinInfoSize)
        return DecodeError::Truncated;
    const std::uint64_t infoSize = readU32(data + bmp::kInfoSizeOffset);
    if (infoSize < bmp::kMinInfoSize)
        return DecodeError::UnsupportedHeader;
    if (bmp::kFileHeaderSize + infoSize > size)
        return DecodeError::Truncated;

    const std::int64_t width = readI32(data + bmp::kWidthOffset);
    std::int64_t height = readI32(data + bmp::kHeightOffset);
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (!withinImageLimits(width, height))
        return DecodeError::BadSize;
    layout.width = static_cast<std::size_t>(width);
    layout.height = static_cast<std::size_t>(height);

    layout.bitCount = readU16(data + bmp::kBitCountOffset);
    const unsigned bits = layout.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return DecodeError::UnsupportedBitCount;
    const std::uint32_t compression = readU32(data + bmp::kCompressionOffset);
    const bool bitfields =
        compression == bmp::kCompressionBitfields || compression == bmp::kCompressionAlphaBitfields;
    if (compression != bmp::kCompressionNone && !bitfields)
        return DecodeError::Compressed;
    if (bitfields && bits != 16 && bits != 32)
        return DecodeError::UnsupportedBitCount;

    layout.masks = bits == 16 ? kDefault16 : kDefault32;
    if (bitfields) {
        // In a 40-byte header the masks follow it; later headers hold them at the same place.
        if (bmp::kMasksOffset + bmp::kMasksSize > size)
            return DecodeError::Truncated;
        layout.masks = {readU32(data + bmp::kMasksOffset), readU32(data + bmp::kMasksOffset + 4),
                        readU32(data + bmp::kMasksOffset + 8)};
    }
    if (bits <= 8) {
        const std::uint64_t tableOffset = bmp::kFileHeaderSize + infoSize;
        const std::uint64_t maxEntries = std::uint64_t{1} << bits;
        const std::uint64_t used = readU32(data + bmp::kColoursUsedOffset);
        const std::uint64_t entries = used == 0 || used > maxEntries ? maxEntries : used;
        if (tableOffset + entries * bmp::kColourEntrySize > size)
            return DecodeError::Truncated;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* entry = data + tableOffset + i * bmp::kColourEntrySize;
            layout.colours[i] = {entry[0], entry[1], entry[2]};
        }
    }

    // Rows are padded to 4 bytes; the last row may lack its padding.
    const std::uint64_t offset = readU32(data + bmp::kPixelOffsetOffset);
    const std::uint64_t rowBits = std::uint64_t{layout.width} * bits;
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    const std::uint64_t lastRow = (rowBits + 7) / 8;
    if (offset > size || size - offset < lastRow ||
        (size - offset - lastRow) / stride < layout.height - 1)
        return DecodeError::Truncated;
    layout.pixelOffset = static_cast<std::size_t>(offset);
    layout.stride = static_cast<std::size_t>(stride);
    return DecodeError::None;
}

} // namespace

DecodeResult decodeBmp(std::span<const std::uint8_t> bytes) {
    Layout layout;
    if (const DecodeError error = readLayout(bytes, layout); error != DecodeError::None)
        return refuse(error);
    DecodeResult result;
    DecodedImage& image = result.image;
    image.width = static_cast<int>(layout.width);
    image.height = static_cast<int>(layout.height);
    const std::size_t outStride =
        (layout.width * 3 + bmp::kRowAlignment - 1) / bmp::kRowAlignment * bmp::kRowAlignment;
    image.pixels.resize(outStride * layout.height);
    for (std::size_t row = 0; row < layout.height; ++row) {
        const std::size_t outRow = layout.topDown ? layout.height - 1 - row : row;
        convertRow(layout, bytes.data() + layout.pixelOffset + row * layout.stride,
                   image.pixels.data() + outRow * outStride);
    }
    return result;
}

std::optional<TextureFormat> decodeBmp(Material& material, const Palette& palette,
                                       const Preferences& preferences, const FileReader& read) {
    FileBytes file = read(material.path);
    if (file.status == FileStatus::CannotOpen) {
        if (material.explicitPath || preferences.primaryFormat == TextureFormat::Mat ||
            !preferences.loadMatIfBmpFails || !replaceLastThree(material.path, "MAT"))
            return std::nullopt;
        return decodeMat(material, palette, preferences, read);
    }
    DecodeResult result = decodeBmp(file.bytes);
    if (!result)
        return std::nullopt;
    storeImage(material, std::move(result.image));
    return TextureFormat::Bmp;
}

} // namespace sw
