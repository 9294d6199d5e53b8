#include "textures/TextureLoader.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::TempDir;
using enum TextureFormat;

// A file whose decoded first texel tells which file it was: a MAT colour material of palette
// entry `tag`, or a 1 x 1 BMP of the colour (tag, tag, tag).
std::string taggedFile(const std::string& name, int tag) {
    const char last = name.back();
    if (last == 'p' || last == 'P')
        return test::bmpFile(
            {.width = 1, .height = 1, .pixels = std::string(3, static_cast<char>(tag)) + '\0'});
    return test::matColour(tag);
}

class TextureLoaderTest : public testing::Test {
protected:
    TextureLoaderTest() {
        for (std::size_t i = 0; i < palette.entries.size(); ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            palette.entries[i] = {v, v, v};
        }
        loader.setDirectory(dir.path().string() + "/");
        loader.setUploadEnabled(false);
    }

    // Writes each file with tag 1, 2, ... in order; a name ending in '/' is a folder.
    void writeFiles(const std::vector<std::string>& files) {
        int tag = 0;
        for (const std::string& file : files) {
            ++tag;
            if (file.back() == '/')
                std::filesystem::create_directories(dir.path() / file);
            else
                dir.write(file, taggedFile(file, tag));
        }
    }

    // The tag of the file the Material was decoded from, 0 when nothing was.
    static int tagOf(const Material& material) {
        return material.notLoaded ? 0 : material.pixels.at(0);
    }

    std::string full(const std::string& relative) const {
        return dir.path().string() + "/" + relative;
    }

    TempDir dir;
    Palette palette;
    Preferences preferences;
    TextureLoader loader{palette, preferences};
};

struct SearchCase {
    const char* what;
    std::vector<std::string> files;
    TextureFormat primary;
    bool loadBmpIfMatFails;
    bool loadMatIfBmpFails;
    std::string expectedPath; // relative to the model's folder
    int expectedTag;          // 0: stays not loaded
};

TEST_F(TextureLoaderTest, SearchesTheCandidatesInOrder) {
    const SearchCase cases[] = {
        {"MAT first without fallback ignores BMP files",
         {"bmp/wall.BMP"},
         Mat,
         false,
         true,
         "wall.MAT",
         0},
        {"MAT first falls back to the bmp folder",
         {"bmp/wall.BMP"},
         Mat,
         true,
         false,
         "bmp/wall.BMP",
         1},
        {"the mat folder wins", {"wall.MAT", "mat/wall.MAT"}, Mat, true, true, "mat/wall.MAT", 2},
        {"MAT beats BMP", {"wall.BMP", "wall.MAT"}, Mat, true, true, "wall.MAT", 2},
        {"last candidate is taken", {"wall.BMP"}, Mat, true, true, "wall.BMP", 1},
        {"nothing found leaves the last candidate", {}, Mat, true, true, "wall.BMP", 0},
        {"BMP first takes the bmp folder",
         {"wall.MAT", "bmp/wall.BMP", "wall.BMP"},
         Bmp,
         true,
         true,
         "bmp/wall.BMP",
         2},
        {"BMP first falls back to the mat folder",
         {"mat/wall.MAT"},
         Bmp,
         false,
         true,
         "mat/wall.MAT",
         1},
        {"BMP first without fallback ignores MAT files",
         {"mat/wall.MAT"},
         Bmp,
         true,
         false,
         "wall.BMP",
         0},
        {"BMP first falls back to the folder's MAT", {"wall.MAT"}, Bmp, true, true, "wall.MAT", 1},
        {"letter case does not matter", {"MAT/Wall.mat"}, Mat, false, false, "mat/wall.MAT", 1},
        {"nor in the fallback", {"Bmp/WALL.bmp"}, Mat, true, false, "bmp/wall.BMP", 1},
        {"a folder is no file", {"mat/wall.MAT/", "wall.MAT"}, Mat, false, false, "wall.MAT", 2},
    };
    for (const SearchCase& c : cases) {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        writeFiles(c.files);
        preferences.primaryFormat = c.primary;
        preferences.loadBmpIfMatFails = c.loadBmpIfMatFails;
        preferences.loadMatIfBmpFails = c.loadMatIfBmpFails;
        Material material;
        material.name = "wall";
        loader.loadTexture(material, "");
        EXPECT_EQ(material.path, full(c.expectedPath)) << c.what;
        EXPECT_EQ(tagOf(material), c.expectedTag) << c.what;
        EXPECT_FALSE(material.explicitPath) << c.what;
    }
}

TEST_F(TextureLoaderTest, FoundBmpLeavesThePaletteAlone) {
    writeFiles({"bmp/wall.BMP"});
    Material material;
    material.name = "wall";
    material.usesPalette = true;
    loader.loadTexture(material, "");
    EXPECT_FALSE(material.notLoaded);
    EXPECT_FALSE(material.usesPalette);
}

TEST_F(TextureLoaderTest, PathsLongerThanAPathFieldFindNothing) {
    const std::string folder = std::string(200, 'a') + "/" + std::string(60, 'b');
    writeFiles({folder + "/wall.MAT"});
    loader.setDirectory(full(folder) + "/");
    Material material;
    material.name = "wall";
    loader.loadTexture(material, "");
    EXPECT_TRUE(material.notLoaded);
}

struct NameCase {
    std::string source;
    std::string name;
};

TEST_F(TextureLoaderTest, ExplicitPathNamesTheMaterial) {
    const NameCase cases[] = {
        {"d:\\tex\\rock.bmp", "rock"},
        {"/textures/x.y/wall", "wall"},
        {"/textures/archive.tar.bmp", "archive"},
        {"plain", "plain"},
        {"/textures/" + std::string(300, 'n') + ".mat", std::string(255, 'n')},
    };
    for (const NameCase& c : cases) {
        Material material;
        material.name = "before";
        loader.loadTexture(material, c.source);
        EXPECT_EQ(material.name, c.name) << c.source;
        EXPECT_EQ(material.path, c.source);
        EXPECT_TRUE(material.explicitPath);
        EXPECT_TRUE(material.notLoaded);
    }
}

TEST_F(TextureLoaderTest, ExplicitPathNeverFallsBackToTheOtherFormat) {
    writeFiles({"rock.MAT"});
    Material material;
    loader.loadTexture(material, full("rock.bmp"));
    EXPECT_TRUE(material.notLoaded);
    EXPECT_EQ(material.path, full("rock.bmp"));

    loader.loadTexture(material, full("ROCK.mat"));
    EXPECT_EQ(tagOf(material), 1);
}

struct HandOverCase {
    const char* what;
    TextureFormat reader;
    TextureFormat primary;
    bool loadBmpIfMatFails;
    bool loadMatIfBmpFails;
    bool explicitPath;
    bool corruptFirst; // the first file opens but holds nothing usable
    bool handsOver;
};

TEST_F(TextureLoaderTest, ReadersHandOverOnlyUnderTheirRule) {
    const HandOverCase cases[] = {
        {"MAT to BMP", Mat, Mat, true, false, false, false, true},
        {"MAT, path given", Mat, Mat, true, true, true, false, false},
        {"MAT, BMP first", Mat, Bmp, true, true, false, false, false},
        {"MAT, no BMP fallback", Mat, Mat, false, true, false, false, false},
        {"MAT file unusable", Mat, Mat, true, true, false, true, false},
        {"BMP to MAT", Bmp, Bmp, false, true, false, false, true},
        {"BMP, path given", Bmp, Bmp, true, true, true, false, false},
        {"BMP, MAT first", Bmp, Mat, true, true, false, false, false},
        {"BMP, no MAT fallback", Bmp, Bmp, true, false, false, false, false},
        {"BMP file unusable", Bmp, Bmp, true, true, false, true, false},
    };
    writeFiles({"wall.MAT", "wall.BMP"});
    for (const HandOverCase& c : cases) {
        const bool mat = c.reader == Mat;
        const std::string first = full(mat ? "wall.MAT" : "wall.BMP");
        const std::string second = full(mat ? "wall.BMP" : "wall.MAT");
        const std::string moved = first + ".moved";
        std::filesystem::rename(first, moved);
        if (c.corruptFirst)
            dir.write(mat ? "wall.MAT" : "wall.BMP", "garbage");
        preferences.primaryFormat = c.primary;
        preferences.loadBmpIfMatFails = c.loadBmpIfMatFails;
        preferences.loadMatIfBmpFails = c.loadMatIfBmpFails;

        Material material;
        material.path = first;
        material.explicitPath = c.explicitPath;
        const auto decoded = mat ? decodeMat(material, palette, preferences)
                                 : decodeBmp(material, palette, preferences);
        if (c.handsOver) {
            EXPECT_EQ(decoded, mat ? Bmp : Mat) << c.what;
            EXPECT_EQ(material.path, second) << c.what;
            EXPECT_EQ(tagOf(material), mat ? 2 : 1) << c.what;
        } else {
            EXPECT_EQ(decoded, std::nullopt) << c.what;
            EXPECT_EQ(material.path, first) << c.what;
            EXPECT_TRUE(material.notLoaded) << c.what;
        }
        std::filesystem::remove(first);
        std::filesystem::rename(moved, first);
    }
}

TEST_F(TextureLoaderTest, PaletteChangeReloadsOnlyPaletteColouredTextures) {
    dir.write("indexed.MAT", test::matTexture(1, 1, 8, "\x05"));
    dir.write("colour.MAT", test::matColour(6));
    dir.write("direct.MAT", test::matTexture(1, 1, 16, std::string("\0\0", 2)));
    dir.write("image.BMP", taggedFile("image.BMP", 7));
    Model model;
    for (const char* name : {"indexed", "colour", "direct", "image"}) {
        model.materials.emplace_back();
        model.materials.back().name = name;
    }
    const TextureLoadFn load = loader.function();
    for (Material& material : model.materials)
        load(material, "");
    ASSERT_EQ(model.materials[3].path, full("image.BMP"));

    for (Rgb& entry : palette.entries)
        entry = {9, 9, 9};
    for (Material& material : model.materials)
        material.pixels.assign(3, 0xEE); // marks what is not decoded again
    loader.reloadPaletteTextures(model);

    EXPECT_EQ(model.materials[0].pixels, std::vector<std::uint8_t>({9, 9, 9}));
    EXPECT_EQ(model.materials[1].pixels.at(0), 9);
    EXPECT_EQ(model.materials[1].pixels.size(), 8u * 8 * 3);
    EXPECT_EQ(model.materials[2].pixels, std::vector<std::uint8_t>(3, 0xEE));
    EXPECT_EQ(model.materials[3].pixels, std::vector<std::uint8_t>(3, 0xEE));
    // A reload takes the file found by the search as given.
    EXPECT_TRUE(model.materials[0].explicitPath);
    EXPECT_EQ(model.materials[0].path, full("indexed.MAT"));
    EXPECT_FALSE(model.materials[2].explicitPath);
}

} // namespace
} // namespace sw
