#include "textures/TextureSources.h"
#include "support/FakeSettings.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace sw {
namespace {

using enum TextureFormat;

// A mod's tree in a temporary folder: models in mod/3do/, the game's layout beside them, and
// the sources elsewhere. Every image written here decodes to a first texel that tells which
// one it was.
class TextureSourcesTest : public testing::Test {
protected:
    TextureSourcesTest() {
        for (std::size_t i = 0; i < 256; ++i)
            palette.entries[i] = {static_cast<std::uint8_t>(i), 0, 0};
        loader.setUploadEnabled(false);
    }

    // File number n (from 1): a MAT colour material of entry n, or a 1 x 1 BMP of red n. A
    // name "x.gob:mat\NAME" is a file inside the archive x.gob.
    void writeFiles(const std::vector<std::string>& files) {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path() / "mod/3do");
        std::map<std::string, std::vector<test::GobFile>> archives;
        for (std::size_t n = 1; n <= files.size(); ++n) {
            const std::string& file = files[n - 1];
            const std::string image =
                formatForPath(file) == Bmp
                    ? test::bmpFile(1, 1, 24, std::string{0, 0, static_cast<char>(n), 0})
                    : test::matColour(static_cast<std::int32_t>(n));
            if (const std::size_t colon = file.find(':'); colon != std::string::npos)
                archives[file.substr(0, colon)].push_back({file.substr(colon + 1), image});
            else
                dir.write(file, image);
        }
        for (const auto& [archive, contents] : archives)
            dir.write(archive, test::gobArchive(contents));
    }
    std::string full(const std::string& relative) const {
        return dir.path().string() + "/" + relative;
    }
    void useSources(const std::vector<std::string>& relative) {
        std::vector<std::string> paths;
        for (const std::string& source : relative)
            paths.push_back(full(source));
        loader.setSources(paths);
    }
    // A model's load begins in mod/3do/.
    void beginLoad() { loader.setDirectory(full("mod/3do/")); }
    Material load(const std::string& name) {
        Material material;
        material.name = name;
        loader.loadTexture(material, "");
        return material;
    }
    static int fileNumber(const Material& material) {
        return material.notLoaded ? 0
                                  : material.pixels.at(formatForPath(material.path) == Bmp ? 2 : 0);
    }

    test::TempDir dir;
    Palette palette;
    Preferences preferences;
    TextureLoader loader{palette, preferences};
};

TEST_F(TextureSourcesTest, ModelFolderBeatsTheLayoutWhichBeatsTheSourcesInTheirOrder) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> sources;
        std::string path; // relative to the temporary folder
        int file;         // 0: stays not loaded
        bool bmpOnly = false;
    };
    const Case cases[] = {
        {{"src/mat/wall.MAT", "mod/mat/wall.MAT", "mod/3do/wall.MAT"},
         {"src"},
         "mod/3do/wall.MAT",
         3},
        {{"src/mat/wall.MAT", "mod/MAT/Wall.mat"}, {"src"}, "mod/3do/../mat/wall.MAT", 2},
        {{"src/mat/wall.MAT", "mod/bmp/wall.BMP"}, {"src"}, "mod/3do/../bmp/wall.BMP", 2},
        {{"src/mat/wall.MAT", "game.gob:mat\\WALL.MAT"},
         {"game.gob", "src"},
         "game.gob/mat/wall.MAT",
         2},
        {{"src/mat/wall.MAT", "game.gob:mat\\WALL.MAT"},
         {"src", "game.gob"},
         "src/mat/wall.MAT",
         1},
        {{"game.gob:3DO\\mat\\wall.mat"}, {"game.gob"}, "game.gob/3do/mat/wall.MAT", 1},
        {{"src/3do/mat/wall.MAT", "src/wall.MAT"}, {"src"}, "src/3do/mat/wall.MAT", 1},
        {{"src/wall.MAT"}, {"src"}, "src/wall.MAT", 1},
        // Within a source the other format comes before the next source.
        {{"game.gob:mat\\wall.mat", "src/bmp/wall.BMP"},
         {"src", "game.gob"},
         "src/bmp/wall.BMP",
         2},
        // An archive holds no file beside its folders; the sources search only the formats
        // the preferences search.
        {{"game.gob:wall.mat"}, {"game.gob"}, "mod/3do/wall.BMP", 0},
        {{"game.gob:mat\\wall.mat"}, {"game.gob"}, "mod/3do/wall.BMP", 0, true},
        {{}, {"missing", "game.gob"}, "mod/3do/wall.BMP", 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        writeFiles(c.files);
        useSources(c.sources);
        preferences.primaryFormat = c.bmpOnly ? Bmp : Mat;
        preferences.loadMatIfBmpFails = !c.bmpOnly;
        beginLoad();
        const Material wall = load("wall");
        EXPECT_EQ(wall.path, full(c.path)) << "case " << i;
        EXPECT_EQ(fileNumber(wall), c.file) << "case " << i;
        EXPECT_FALSE(wall.explicitPath) << "case " << i;
    }
}

TEST_F(TextureSourcesTest, PaletteReloadFindsTheFileInTheArchiveWhichIsReadOncePerLoad) {
    dir.write("game.gob", test::gobArchive({{"mat\\wall.mat", test::matTexture(1, 1, 8, "\x05")}}));
    useSources({"game.gob"});
    beginLoad();
    Model model;
    model.materials.push_back(load("wall"));
    EXPECT_EQ(model.materials[0].path, full("game.gob/mat/wall.MAT"));
    EXPECT_EQ(fileNumber(model.materials[0]), 5);
    palette.entries.fill({9, 9, 9});
    loader.reloadPaletteTextures(model);
    const Material& wall = model.materials[0];
    EXPECT_EQ(wall.pixels, std::vector<std::uint8_t>({9, 9, 9}));
    EXPECT_EQ(wall.path, full("game.gob/mat/wall.MAT"));
    EXPECT_EQ(wall.name, "wall");

    // During a load the archive's directory stays as it was read at its first use.
    dir.write("game.gob", test::gobArchive({{"mat\\floor.mat", test::matColour(6)}}));
    EXPECT_EQ(fileNumber(load("floor")), 0);
    beginLoad();
    EXPECT_EQ(fileNumber(load("floor")), 9);
}

TEST_F(TextureSourcesTest, SkipsBadSourcesOncePerLoadSayingWhy) {
    writeFiles({"good/mat/wall.MAT", "good/mat/floor.MAT"});
    const std::string notGob = dir.write("notes.gob", "some notes");
    const std::string damaged =
        dir.write("cut.gob", test::withI32(test::gobArchive({{"mat\\wall.mat", "x"}}), 16, 4096));
    useSources({"missing", "notes.gob", "cut.gob", "good"});
    const std::string reasons[] = {"there is no such folder or archive",
                                   "the file is no GOB archive",
                                   "the archive's directory points outside the file"};
    const std::vector<std::string> problems = {full("missing") + ": " + reasons[0],
                                               notGob + ": " + reasons[1],
                                               damaged + ": " + reasons[2]};
    for (int modelLoad = 0; modelLoad < 2; ++modelLoad) {
        beginLoad();
        EXPECT_EQ(fileNumber(load("wall")), 1);
        EXPECT_EQ(fileNumber(load("floor")), 2);
        EXPECT_EQ(loader.sourceProblems(), problems);
    }
    for (std::size_t i = 0; i < std::size(reasons); ++i)
        EXPECT_EQ(textureSourceProblem(loader.sources()[i]), reasons[i]);
    EXPECT_EQ(textureSourceProblem(full("good")), "");
}

TEST(TextureSourcesSettings, AreAListBesideThePreferences) {
    test::FakeSettings settings;
    EXPECT_TRUE(loadTextureSources(settings).empty());
    const std::vector<std::string> sources = {"/games/jk/Resource/Res2.gob", "C:\\mods\\a, b"};
    saveTextureSources(sources, settings);
    EXPECT_EQ(settings.lists,
              (std::map<std::string, std::vector<std::string>>{{"TextureSources", sources}}));
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(loadTextureSources(settings), sources);

    settings.lists["TextureSources"] = {"", "/mods/x", ""};
    EXPECT_EQ(loadTextureSources(settings), std::vector<std::string>{"/mods/x"});
    settings.failOpen = true;
    EXPECT_TRUE(loadTextureSources(settings).empty());
}

} // namespace
} // namespace sw
