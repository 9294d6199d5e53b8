// Damaged files of every kind the textures layer reads give a clean refusal or an image whose
// buffer matches the row layout the upload reads (for an archive, a directory whose files lie
// inside it). The sanitizer build runs this too.

#include "support/Mutator.h"
#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/GobArchive.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <functional>

namespace sw::test {
namespace {

// Three hundred damaged copies of each kind of file, shared among its seeds. Both outcomes
// must occur, or the damage missed what it is meant to exercise.
void mutateAll(const std::vector<std::string>& seeds,
               const std::function<bool(const std::string&)>& accepts) {
    Mutator mutator(20240611);
    const int perSeed = 300 / static_cast<int>(seeds.size());
    int accepted = 0;
    for (std::size_t s = 0; s < seeds.size(); ++s) {
        for (int i = 0; i < perSeed && !testing::Test::HasFailure(); ++i) {
            SCOPED_TRACE("seed " + std::to_string(s) + " mutant " + std::to_string(i));
            accepted += accepts(mutator.mutate(seeds[s])) ? 1 : 0;
        }
    }
    const int total = perSeed * static_cast<int>(seeds.size());
    EXPECT_GT(accepted, total / 10);
    EXPECT_LT(accepted, total - total / 10);
}

bool acceptable(const DecodeResult& result, std::size_t rowAlignment) {
    if (!result)
        return false;
    const DecodedImage& image = result.image;
    EXPECT_GT(image.width, 0);
    EXPECT_GT(image.height, 0);
    const std::size_t row = (static_cast<std::size_t>(image.width) * 3 + rowAlignment - 1) /
                            rowAlignment * rowAlignment;
    EXPECT_EQ(image.pixels.size(), row * static_cast<std::size_t>(image.height));
    return true;
}

TEST(MutatedInput, MatFiles) {
    Palette palette;
    buildDefaultPalette(palette);
    const std::string p(12, '\x42');
    const std::vector<std::string> seeds = {matColour(16), matTexture(4, 3, 8, p),
                                            matTexture(4, 3, 8, p, 5, "mipmap"),
                                            matTexture(3, 2, 16, p, 2)};
    mutateAll(seeds, [&](const std::string& bytes) {
        return acceptable(decodeMat(asBytes(bytes), palette), 1);
    });
}

TEST(MutatedInput, BmpFiles) {
    const std::string p(24, '\x13');
    const std::vector<std::string> seeds = {
        bmpFile(3, -2, 24, p), bmpFile(5, 3, 8, p, {1, 2, 3}), bmpFile(9, 2, 4, p, {1, 2}),
        bmpFile(3, 2, 16, p, {}, {0x7C00, 0x3E0, 0x1F}), bmpFile(2, 2, 32, p)};
    mutateAll(seeds,
              [](const std::string& bytes) { return acceptable(decodeBmp(asBytes(bytes)), 4); });
}

TEST(MutatedInput, GobArchives) {
    const std::string wall = matColour(3);
    const std::string archive =
        gobArchive({{"mat\\wall.mat", wall}, {"3do\\mat\\crate.mat", "crate"}});
    mutateAll({archive}, [](const std::string& bytes) {
        const GobReadResult read = readGobDirectory(asBytes(bytes));
        if (!read)
            return false;
        for (const char* name : {"mat\\wall.mat", "3do\\mat\\crate.mat"}) {
            if (const GobEntry* entry = read.directory.find(name)) {
                EXPECT_LE(std::uint64_t{entry->offset} + entry->length, bytes.size());
            }
        }
        return true;
    });
}

TEST(MutatedInput, CmpFiles) {
    mutateAll({cmpFile()}, [](const std::string& bytes) {
        Palette palette;
        const bool accepted = decodeCmp(asBytes(bytes), palette);
        EXPECT_EQ(accepted, bytes.size() >= 832 && bytes.compare(0, 3, "CMP") == 0);
        EXPECT_EQ(palette.paletteFilled, accepted);
        return accepted;
    });
}

} // namespace
} // namespace sw::test
