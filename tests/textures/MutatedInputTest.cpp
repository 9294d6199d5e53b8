// Damaged files of every kind the textures layer reads must give a clean refusal or an image
// whose buffer matches the layout the upload reads; the sanitizer build runs this too.

#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::asBytes;
using test::bmpFile;
using test::BmpSpec;

constexpr int kMutantsPerSeed = 400;

// Deterministic damage: bit flips, telling byte values, telling int32 values in the headers,
// truncation and trailing bytes, one to four at a time. mt19937's sequence is fixed by the
// standard, so every run tries the same files.
class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    std::string mutate(std::string bytes) {
        const int count = 1 + pick(4);
        for (int i = 0; i < count; ++i) {
            switch (pick(5)) {
            case 0:
                if (!bytes.empty())
                    bytes[at(bytes)] ^= static_cast<char>(1 << pick(8));
                break;
            case 1:
                if (!bytes.empty())
                    bytes[at(bytes)] = static_cast<char>(kBytes[pick(std::size(kBytes))]);
                break;
            case 2: {
                // Header fields sit in the first 80 bytes (MAT image headers a little later).
                const std::size_t limit = std::min<std::size_t>(bytes.size(), 160);
                if (limit >= 4) {
                    const std::size_t offset =
                        static_cast<std::size_t>(pick(static_cast<int>(limit - 3)));
                    bytes = test::withI32(std::move(bytes), offset, kInts[pick(std::size(kInts))]);
                }
                break;
            }
            case 3:
                bytes.resize(static_cast<std::size_t>(pick(static_cast<int>(bytes.size()) + 1)));
                break;
            default:
                bytes.append(static_cast<std::size_t>(pick(16)), static_cast<char>(pick(256)));
                break;
            }
        }
        return bytes;
    }

private:
    static constexpr std::uint8_t kBytes[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0x10, 0x20};
    static constexpr std::int32_t kInts[] = {
        0,     1,     -1,    2,          8,
        16,    24,    40,    255,        256,
        16384, 16385, 65536, 0x7FFFFFFF, std::numeric_limits<std::int32_t>::min()};

    int pick(std::size_t n) { return static_cast<int>(random_() % n); }
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }
    std::size_t at(const std::string& bytes) {
        return static_cast<std::size_t>(pick(static_cast<int>(bytes.size())));
    }

    std::mt19937 random_;
};

Palette somePalette() {
    Palette palette;
    buildDefaultPalette(palette);
    return palette;
}

std::string pixels(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(i * 37);
    return bytes;
}

bool checkImage(const DecodeResult& result, std::size_t rowAlignment, const std::string& what) {
    if (!result)
        return false;
    const DecodedImage& image = result.image;
    EXPECT_GT(image.width, 0) << what;
    EXPECT_GT(image.height, 0) << what;
    const std::size_t row = (static_cast<std::size_t>(image.width) * 3 + rowAlignment - 1) /
                            rowAlignment * rowAlignment;
    EXPECT_EQ(image.pixels.size(), row * static_cast<std::size_t>(image.height)) << what;
    return true;
}

// Runs `check` (true: the mutant was accepted) on every mutant. Both outcomes must occur, or
// the damage missed what it is meant to exercise.
void mutateAll(const std::vector<std::string>& seeds,
               const std::function<bool(const std::string&, const std::string&)>& check) {
    Mutator mutator(20240611);
    int accepted = 0;
    int refused = 0;
    for (std::size_t s = 0; s < seeds.size(); ++s) {
        for (int i = 0; i < kMutantsPerSeed; ++i) {
            const std::string what = "seed " + std::to_string(s) + " mutant " + std::to_string(i);
            ++(check(mutator.mutate(seeds[s]), what) ? accepted : refused);
            if (testing::Test::HasFailure())
                return;
        }
    }
    EXPECT_GT(accepted, kMutantsPerSeed / 10);
    EXPECT_GT(refused, kMutantsPerSeed / 10);
}

TEST(MutatedInput, MatFiles) {
    const Palette palette = somePalette();
    const std::vector<std::string> seeds = {
        test::matColour(16),
        test::matColour(200, 3),
        test::matTexture(4, 3, 8, pixels(12)),
        test::matTexture(4, 3, 8, pixels(12), 5, pixels(3 + 1)), // cels, then a mipmap
        test::matTexture(3, 2, 16, pixels(12)),
        test::matTexture(6, 1, 16, pixels(12), 2),
    };
    mutateAll(seeds, [&](const std::string& bytes, const std::string& what) {
        return checkImage(decodeMat(asBytes(bytes), palette), 1, what);
    });
}

TEST(MutatedInput, BmpFiles) {
    const std::vector<std::string> seeds = {
        bmpFile({.width = 3, .height = 2, .pixels = pixels(24)}),
        bmpFile({.width = 3, .height = -2, .pixels = pixels(24)}),
        bmpFile({.width = 5,
                 .height = 3,
                 .bitCount = 8,
                 .colours = {1, 2, 3, 4},
                 .coloursUsed = 4,
                 .pixels = pixels(24)}),
        bmpFile({.width = 9,
                 .height = 2,
                 .bitCount = 4,
                 .colours = std::vector<std::uint32_t>(16, 7),
                 .pixels = pixels(16)}),
        bmpFile({.width = 33,
                 .height = 2,
                 .bitCount = 1,
                 .colours = {0, 0xFFFFFF},
                 .pixels = pixels(16)}),
        bmpFile({.width = 3,
                 .height = 2,
                 .bitCount = 16,
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x1F},
                 .pixels = pixels(16)}),
        bmpFile({.width = 2, .height = 2, .bitCount = 32, .pixels = pixels(16)}),
    };
    mutateAll(seeds, [&](const std::string& bytes, const std::string& what) {
        return checkImage(decodeBmp(asBytes(bytes)), 4, what);
    });
}

TEST(MutatedInput, CmpFiles) {
    mutateAll({test::cmpFile()}, [&](const std::string& bytes, const std::string& what) {
        Palette palette;
        const bool accepted = decodeCmp(asBytes(bytes), palette);
        EXPECT_EQ(accepted, bytes.size() >= 832 && bytes.compare(0, 3, "CMP") == 0) << what;
        EXPECT_EQ(palette.paletteFilled, accepted) << what;
        return accepted;
    });
}

} // namespace
} // namespace sw
