#include "textures/MatReader.h"

#include "textures/BmpReader.h"
#include "textures/FileBytes.h"
#include "textures/FileLayout.h"
#include "textures/MaterialImage.h"
#include "textures/Palette.h"

#include <array>
#include <cstring>
#include <vector>

namespace sw {

namespace {

// A texel as R, G, B and a spare byte, so that it is written as one 4-byte word.
using Texel = std::array<std::uint8_t, 4>;

// A 5-bit channel to 8 bits as the game's tools did it: trunc(8 v x 1.0282258064516128), the
// factor one unit in the last place below 255/248, so that 31 gives 254 rather than 255.
std::uint8_t fiveToEight(unsigned v) {
    return static_cast<std::uint8_t>(8.0 * v * 1.0282258064516128);
}

// Every 16-bit texel value converted once: red bits 15-11, green bits 10-6, blue bits 4-0
// (bit 5 is not used). A table lookup per texel is what makes large textures decode fast.
const std::vector<Texel>& sixteenBitTexels() {
    static const std::vector<Texel> table = [] {
        std::vector<Texel> texels(1u << 16);
        for (unsigned p = 0; p < texels.size(); ++p)
            texels[p] = {fiveToEight((p >> 11) & 31), fiveToEight((p >> 6) & 31),
                         fiveToEight(p & 31), 0};
        return texels;
    }();
    return table;
}

DecodeResult refuse(DecodeError error) {
    DecodeResult result;
    result.error = error;
    return result;
}

DecodeResult decodeColourMaterial(std::span<const std::uint8_t> bytes, const Palette& palette) {
    if (bytes.size() < mat::kHeaderSize + mat::kColourRecordSize)
        return refuse(DecodeError::Truncated);
    const std::int32_t index = readI32(bytes.data() + mat::kHeaderSize + mat::kColourIndexOffset);
    if (index < 0 || index >= static_cast<std::int32_t>(palette.entries.size()))
        return refuse(DecodeError::BadColourIndex);
    const Rgb colour = palette.entries[static_cast<std::size_t>(index)];
    DecodeResult result;
    DecodedImage& image = result.image;
    image.width = image.height = mat::kColourImageSide;
    image.pixels.resize(mat::kColourImageSide * mat::kColourImageSide * 3);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
        image.pixels[i] = colour.r;
        image.pixels[i + 1] = colour.g;
        image.pixels[i + 2] = colour.b;
    }
    image.usesPalette = true;
    return result;
}

// One file row to R, G, B. Every texel but the row's last is written as four bytes whose
// fourth the next texel overwrites, which the compiler turns into one store.
template <std::size_t BytesPerTexel>
void decodeRow(const std::uint8_t* in, std::uint8_t* out, std::size_t width, const Texel* texels) {
    const auto value = [in](std::size_t x) -> std::size_t {
        if constexpr (BytesPerTexel == 1)
            return in[x];
        else
            return in[2 * x] | (static_cast<std::size_t>(in[2 * x + 1]) << 8); // low byte first
    };
    for (std::size_t x = 0; x + 1 < width; ++x, out += 3)
        std::memcpy(out, texels[value(x)].data(), 4);
    std::memcpy(out, texels[value(width - 1)].data(), 3);
}

DecodeResult decodeTextureMaterial(std::span<const std::uint8_t> bytes, const Palette& palette) {
    // Animated materials keep one record per cel ahead of the first image; a count below one
    // is read as the single record every texture has.
    const std::int32_t count = readI32(bytes.data() + mat::kRecordCountOffset);
    const std::uint64_t records = count < 1 ? 1 : static_cast<std::uint64_t>(count);
    const std::uint64_t imageHeader = mat::kHeaderSize + records * mat::kTextureRecordSize;
    if (imageHeader + mat::kImageHeaderSize > bytes.size())
        return refuse(DecodeError::Truncated);

    const std::uint8_t* header = bytes.data() + imageHeader;
    const std::int64_t width = readI32(header + mat::kImageWidthOffset);
    const std::int64_t height = readI32(header + mat::kImageHeightOffset);
    if (!withinImageLimits(width, height))
        return refuse(DecodeError::BadSize);

    const bool indexed = readI32(bytes.data() + mat::kBitsPerPixelOffset) == mat::kPaletteBits;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::size_t inRow = w * (indexed ? 1 : 2);
    const std::size_t first = static_cast<std::size_t>(imageHeader) + mat::kImageHeaderSize;
    if (bytes.size() - first < inRow * h)
        return refuse(DecodeError::Truncated);

    DecodeResult result;
    DecodedImage& image = result.image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.usesPalette = indexed;
    image.pixels.resize(w * h * 3);
    std::array<Texel, 256> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = {palette.entries[i].r, palette.entries[i].g, palette.entries[i].b, 0};
    const Texel* texels = indexed ? colours.data() : sixteenBitTexels().data();
    // The file holds the top row first; the buffer starts with the bottom row, as GL wants.
    for (std::size_t row = 0; row < h; ++row) {
        const std::uint8_t* in = bytes.data() + first + row * inRow;
        std::uint8_t* out = image.pixels.data() + (h - 1 - row) * w * 3;
        if (indexed)
            decodeRow<1>(in, out, w, texels);
        else
            decodeRow<2>(in, out, w, texels);
    }
    return result;
}

} // namespace

DecodeResult decodeMat(std::span<const std::uint8_t> bytes, const Palette& palette) {
    if (bytes.size() < mat::kHeaderSize)
        return refuse(DecodeError::Truncated);
    if (readI32(bytes.data() + mat::kTypeOffset) == mat::kColourType)
        return decodeColourMaterial(bytes, palette);
    return decodeTextureMaterial(bytes, palette);
}

std::optional<TextureFormat> decodeMat(Material& material, const Palette& palette,
                                       const Preferences& preferences, const FileReader& read) {
    FileBytes file = read(material.path);
    if (file.status == FileStatus::CannotOpen) {
        if (material.explicitPath || preferences.primaryFormat == TextureFormat::Bmp ||
            !preferences.loadBmpIfMatFails || !replaceLastThree(material.path, "BMP"))
            return std::nullopt;
        return decodeBmp(material, palette, preferences, read);
    }
    DecodeResult result = decodeMat(file.bytes, palette);
    if (!result)
        return std::nullopt;
    storeImage(material, std::move(result.image));
    return TextureFormat::Mat;
}

} // namespace sw
