#include "textures/MatWriter.h"

#include "textures/DecodedImage.h"
#include "textures/FileLayout.h"
#include "textures/Palette.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <tuple>

namespace sw {

namespace {

constexpr std::size_t kPixelsOffset =
    mat::kHeaderSize + mat::kTextureRecordSize + mat::kImageHeaderSize;

// The header, the one texture record and the image header; `file` is zero-filled.
void writeHeaders(std::uint8_t* file, const RgbaImage& image, MatPixels format) {
    const bool rgb = format == MatPixels::Rgb565;
    std::memcpy(file, mat::kMagic, sizeof mat::kMagic);
    writeI32(file + mat::kVersionOffset, mat::kVersion);
    writeI32(file + mat::kTypeOffset, mat::kTextureType);
    writeI32(file + mat::kRecordCountOffset, 1);
    writeI32(file + mat::kCelCountOffset, 1);
    writeI32(file + mat::kColourModeOffset, rgb ? mat::kRgbMode : mat::kIndexedMode);
    writeI32(file + mat::kBitsPerPixelOffset, rgb ? mat::kRgbBits : mat::kPaletteBits);
    for (std::size_t channel = 0; rgb && channel < 3; ++channel) {
        writeI32(file + mat::kChannelBitsOffset + 4 * channel, mat::kRgb565Bits[channel]);
        writeI32(file + mat::kChannelShiftOffset + 4 * channel, mat::kRgb565Shift[channel]);
        writeI32(file + mat::kChannelLossOffset + 4 * channel, mat::kRgb565Loss[channel]);
    }

    std::uint8_t* record = file + mat::kHeaderSize;
    writeI32(record + mat::kRecordTypeOffset, mat::kTextureRecordType);
    for (std::size_t i = 0; i < mat::kRecordFloatCount; ++i)
        writeU32(record + mat::kRecordFloatsOffset + 4 * i, mat::kOneAsFloatBits);
    writeI32(record + mat::kRecordCelIndexOffset, 0);

    std::uint8_t* imageHeader = record + mat::kTextureRecordSize;
    writeI32(imageHeader + mat::kImageWidthOffset, image.width);
    writeI32(imageHeader + mat::kImageHeightOffset, image.height);
    writeI32(imageHeader + mat::kMipmapCountOffset, 1);
}

// The nearest of the levels 0..top spread evenly over 0..255. For 31 and 63 levels no 8-bit
// value lies halfway between two of them, so there is no tie to settle.
constexpr unsigned nearestLevel(unsigned value, unsigned top) {
    return (value * top + 127) / 255;
}

std::uint16_t toRgb565(const std::uint8_t* rgba) {
    return static_cast<std::uint16_t>(nearestLevel(rgba[0], 31) << 11 |
                                      nearestLevel(rgba[1], 63) << 5 | nearestLevel(rgba[2], 31));
}

// The palette index nearest to a colour. Painted textures repeat few colours, so the answers
// are kept in a small table keyed by colour rather than searching 256 entries per pixel.
class NearestIndex {
public:
    explicit NearestIndex(const Palette& palette) : slots_(kSlots) {
        for (std::size_t i = 0; i < kEntries; ++i) {
            red_[i] = palette.entries[i].r;
            green_[i] = palette.entries[i].g;
            blue_[i] = palette.entries[i].b;
        }
    }

    std::uint8_t operator()(const std::uint8_t* rgb) {
        const std::uint32_t colour = static_cast<std::uint32_t>(rgb[0]) << 16 |
                                     static_cast<std::uint32_t>(rgb[1]) << 8 | rgb[2];
        Slot& slot = slots_[(colour * 2654435761u) >> (32 - kSlotBits)];
        if (slot.key != colour + 1) {
            slot.key = colour + 1;
            slot.index = search(rgb[0], rgb[1], rgb[2]);
        }
        return slot.index;
    }

private:
    static constexpr std::size_t kEntries = std::tuple_size_v<decltype(Palette::entries)>;
    static_assert(kEntries == 256, "an index and its distance share one int32");
    static constexpr unsigned kSlotBits = 16;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    struct Slot {
        std::uint32_t key = 0; // the colour plus one; 0 for an empty slot
        std::uint8_t index = 0;
    };

    // Each entry's squared distance with its index in the low 8 bits: the smallest key is the
    // nearest entry, and on a tie the lower index. A plain minimum over separate channel
    // arrays is what lets the compiler search many entries at once.
    std::uint8_t search(std::int32_t r, std::int32_t g, std::int32_t b) const {
        std::int32_t best = INT32_MAX; // 3 x 255 x 255 << 8 stays far below
        for (std::size_t i = 0; i < kEntries; ++i) {
            const std::int32_t dr = r - red_[i];
            const std::int32_t dg = g - green_[i];
            const std::int32_t db = b - blue_[i];
            best =
                std::min(best, (dr * dr + dg * dg + db * db) << 8 | static_cast<std::int32_t>(i));
        }
        return static_cast<std::uint8_t>(best & 0xFF);
    }

    std::array<std::int32_t, kEntries> red_{};
    std::array<std::int32_t, kEntries> green_{};
    std::array<std::int32_t, kEntries> blue_{};
    std::vector<Slot> slots_;
};

} // namespace

EncodeResult encodeMat(const RgbaImage& image, MatPixels format, const Palette& palette) {
    EncodeResult result;
    if (!withinImageLimits(image.width, image.height) ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4) {
        result.error = EncodeError::BadSize;
        return result;
    }
    const std::size_t count = image.pixels.size() / 4;
    try {
        result.bytes.resize(kPixelsOffset + count * (format == MatPixels::Indexed ? 1 : 2));
        writeHeaders(result.bytes.data(), image, format);
        // The image and the file both hold the top row first: the pixels keep their order.
        const std::uint8_t* in = image.pixels.data();
        std::uint8_t* out = result.bytes.data() + kPixelsOffset;
        if (format == MatPixels::Rgb565) {
            for (std::size_t i = 0; i < count; ++i, in += 4, out += 2) {
                const std::uint16_t pixel = toRgb565(in);
                out[0] = static_cast<std::uint8_t>(pixel); // low byte first
                out[1] = static_cast<std::uint8_t>(pixel >> 8);
            }
        } else {
            NearestIndex nearest(palette);
            for (std::size_t i = 0; i < count; ++i, in += 4)
                out[i] = in[3] == 0 ? 0 : nearest(in);
        }
    } catch (const std::bad_alloc&) {
        result.bytes = {};
        result.error = EncodeError::OutOfMemory;
    }
    return result;
}

std::string describeImageRead(const ImageRead& read) {
    switch (read.status) {
    case ImageRead::Status::Read:
        return {};
    case ImageRead::Status::CannotOpen:
        return "cannot open the file";
    case ImageRead::Status::NotAnImage:
        return "not an image this program reads: " + read.reason;
    case ImageRead::Status::TooLarge:
        return "the image is " + std::to_string(read.width) + " x " + std::to_string(read.height) +
               " pixels; a MAT this program reads has at most " + std::to_string(kMaxImageSide) +
               " pixels a side and " + std::to_string(kMaxImagePixels) + " in all";
    case ImageRead::Status::OutOfMemory:
        return "not enough memory to convert the image";
    }
    return {};
}

bool hasPowerOfTwoSides(int width, int height) {
    return width > 0 && height > 0 && std::has_single_bit(static_cast<unsigned>(width)) &&
           std::has_single_bit(static_cast<unsigned>(height));
}

} // namespace sw
