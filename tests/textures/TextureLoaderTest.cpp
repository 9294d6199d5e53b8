#include "textures/TextureLoader.h"
#include "platform/FileNames.h"
#include "platform/HeadlessGl.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/BmpReader.h"
#include "textures/GobArchive.h"
#include "textures/MatReader.h"
#include "textures/Palette.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace sw::test {
namespace {

using enum TextureFormat;
using Texels = std::vector<std::uint8_t>;

TEST(FileNames, ResolvesEachComponentWithoutRegardToCase) {
    TempDir dir;
    const std::string base = dir.path().string();
    const std::string wall = dir.write("Models/mat/zwall.mat", "x");
    EXPECT_EQ(resolveFileName(base + "/models\\MAT\\ZWALL.MAT"), wall); // as a Windows model says
    EXPECT_EQ(resolveFileName(base + "/models/./MAT/../mat/Zwall.mat"),
              base + "/Models/./mat/../mat/zwall.mat");
    // Nothing matches: the path stays as it was, and opening it fails as it should.
    EXPECT_EQ(resolveFileName(base + "/models/bmp/wall.mat"), base + "/models/bmp/wall.mat");
}

// Finds, decodes and keeps the pixels (no GL) of textures for a model in the folder 3do/ of a
// temporary folder. The files written here decode to a first texel that tells which file it was.
class TextureLoaderTest : public testing::Test {
protected:
    TextureLoaderTest() {
        for (std::size_t i = 0; i < 256; ++i)
            palette.entries[i] = {static_cast<std::uint8_t>(i), 0, 0};
        loader.setUploadEnabled(false);
        beginLoad({});
    }

    // A path relative to the model's folder.
    std::string full(const std::string& relative) const {
        return dir.path().string() + "/3do/" + relative;
    }
    std::string write(const std::string& relative, const std::string& bytes) const {
        return dir.write((std::filesystem::path("3do") / relative).lexically_normal(), bytes);
    }
    // File number n (from 1), relative to the model's folder, is a MAT colour material of entry
    // n or a 1 x 1 BMP of red n; a name ending in '/' is a folder, and "x.gob:mat\NAME" a file
    // in the archive x.gob.
    void writeFiles(const std::vector<std::string>& files) {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path() / "3do");
        std::map<std::string, std::vector<GobFile>> archives;
        for (std::size_t n = 1; n <= files.size(); ++n) {
            const std::string& file = files[n - 1];
            const std::string image =
                formatForPath(file) == Bmp
                    ? bmpFile(1, 1, 24, std::string{0, 0, static_cast<char>(n), 0})
                    : matColour(static_cast<std::int32_t>(n));
            if (const std::size_t colon = file.find(':'); colon != std::string::npos)
                archives[file.substr(0, colon)].push_back({file.substr(colon + 1), image});
            else if (file.back() == '/')
                std::filesystem::create_directories(full(file));
            else
                write(file, image);
        }
        for (const auto& [archive, contents] : archives)
            write(archive, gobArchive(contents));
    }

    static int fileNumber(const Material& material) {
        return material.notLoaded ? 0
                                  : material.pixels.at(formatForPath(material.path) == Bmp ? 2 : 0);
    }
    // A model's load begins, with these sources (relative to the model's folder).
    void beginLoad(const std::vector<std::string>& sources) {
        std::vector<std::string> paths;
        for (const std::string& source : sources)
            paths.push_back(full(source));
        loader.setSources(paths);
        loader.setDirectory(full(""));
    }
    Material load(const std::string& name) {
        Material material;
        material.name = name;
        material.usesPalette = true;
        loader.loadTexture(material, "");
        return material;
    }

    TempDir dir;
    Palette palette;
    Preferences preferences;
    TextureLoader loader{palette, preferences};
};

// Each row: the files there, the preferences, the file found for "wall" and the texture
// sources, all relative to the model's folder ("../mat" being the game's layout around it; "g"
// a GOB archive).
TEST_F(TextureLoaderTest, SearchesTheModelsFolderThenTheLayoutThenTheSourcesInOrder) {
    struct Case {
        std::vector<std::string> files;
        TextureFormat primary;
        bool bmpIfMatFails;
        bool matIfBmpFails;
        std::string path; // relative to the model's folder
        int file;         // 0: stays not loaded
        std::vector<std::string> sources = {};
    };
    const Case cases[] = {
        {{"bmp/wall.BMP"}, Mat, false, true, "wall.MAT", 0},
        {{"bmp/wall.BMP"}, Mat, true, false, "bmp/wall.BMP", 1},
        {{"wall.MAT", "mat/wall.MAT"}, Mat, true, true, "mat/wall.MAT", 2},
        {{"wall.BMP", "wall.MAT"}, Mat, true, true, "wall.MAT", 2},
        {{"wall.BMP"}, Mat, true, true, "wall.BMP", 1},
        {{}, Mat, true, true, "wall.BMP", 0},
        {{"wall.MAT", "bmp/wall.BMP", "wall.BMP"}, Bmp, true, true, "bmp/wall.BMP", 2},
        {{"mat/wall.MAT"}, Bmp, false, true, "mat/wall.MAT", 1},
        {{"mat/wall.MAT"}, Bmp, true, false, "wall.BMP", 0},
        {{"wall.MAT"}, Bmp, true, true, "wall.MAT", 1},
        {{"wall.MAT", "mat/wall.MAT"}, Bmp, true, true, "mat/wall.MAT", 2},
        {{"MAT/Wall.mat"}, Mat, false, false, "mat/wall.MAT", 1}, // letter case does not matter
        {{"Bmp/WALL.bmp"}, Mat, true, false, "bmp/wall.BMP", 1},
        {{"mat/wall.MAT/", "wall.MAT"}, Mat, false, false, "wall.MAT", 2}, // a folder is no file
        {{"s/wall.MAT", "../mat/wall.MAT", "wall.MAT"}, Mat, true, false, "wall.MAT", 3, {"s"}},
        {{"s/wall.MAT", "../MAT/Wall.mat"}, Mat, true, false, "../mat/wall.MAT", 2, {"s"}},
        {{"s/wall.MAT", "../bmp/wall.BMP"}, Mat, true, false, "../bmp/wall.BMP", 2, {"s"}},
        {{"s/mat/wall.MAT", "g:mat\\WALL.MAT"}, Mat, true, false, "g/mat/wall.MAT", 2, {"g", "s"}},
        {{"s/mat/wall.MAT", "g:mat\\WALL.MAT"}, Mat, true, false, "s/mat/wall.MAT", 1, {"s", "g"}},
        {{"g:3DO\\mat\\wall.mat"}, Mat, true, false, "g/3do/mat/wall.MAT", 1, {"g"}},
        {{"s/3do/mat/wall.MAT", "s/wall.MAT"}, Mat, true, false, "s/3do/mat/wall.MAT", 1, {"s"}},
        {{"s/wall.MAT"}, Mat, true, false, "s/wall.MAT", 1, {"s"}},
        // Nothing beside an archive's folders; only the formats the preferences search.
        {{"g:wall.mat"}, Mat, true, false, "wall.BMP", 0, {"g"}},
        {{"g:mat\\wall.mat"}, Bmp, true, false, "wall.BMP", 0, {"g"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        writeFiles(c.files);
        preferences = {{}, c.primary, c.bmpIfMatFails, c.matIfBmpFails};
        beginLoad(c.sources);
        const Material wall = load("wall");
        EXPECT_EQ(wall.path, full(c.path)) << "case " << i;
        EXPECT_EQ(fileNumber(wall), c.file) << "case " << i;
        EXPECT_EQ(wall.usesPalette, c.file != 0 && formatForPath(c.path) == Mat) << "case " << i;
        EXPECT_FALSE(wall.explicitPath);
    }
    // A source's file is found at the 259 characters a path holds.
    const std::string source(260 - full("s/wall.MAT").size(), 's');
    writeFiles({source + "/wall.MAT"});
    preferences = {};
    beginLoad({source});
    EXPECT_EQ(fileNumber(load("wall")), 1);
}

TEST_F(TextureLoaderTest, GivenPathNamesTheMaterial) {
    const std::pair<std::string, std::string> cases[] = {
        {"d:\\tex\\rock.bmp", "rock"},
        {"/textures/x.y/wall", "wall"},
        {"wall.MAT", "wall"}, // found beside a model opened by a bare name
        {"/textures/archive.tar.bmp", "archive"},
        {"/textures/" + std::string(300, 'n') + ".mat", std::string(255, 'n')}};
    for (const auto& [source, name] : cases) {
        Material material;
        loader.loadTexture(material, source);
        EXPECT_EQ(material.name, name) << source;
        EXPECT_EQ(material.path, source);
        EXPECT_TRUE(material.explicitPath);
    }

    // Beyond the 259 characters of a path nothing is found.
    const std::string folder = std::string(200, 'a') + "/" + std::string(60, 'b');
    writeFiles({folder + "/wall.MAT"});
    Material material;
    loader.loadTexture(material, full(folder + "/wall.MAT"));
    EXPECT_TRUE(material.notLoaded);
}

TEST_F(TextureLoaderTest, ReadersHandOverOnlyUnderTheirRule) {
    struct Case {
        TextureFormat reader;
        TextureFormat primary;
        bool bmpIfMatFails;
        bool matIfBmpFails;
        bool explicitPath;
        bool handsOver;
    };
    const Case cases[] = {
        {Mat, Mat, true, false, false, true}, {Mat, Mat, true, true, true, false},
        {Mat, Bmp, true, true, false, false}, {Mat, Mat, false, true, false, false},
        {Bmp, Bmp, false, true, false, true}, {Bmp, Bmp, true, true, true, false},
        {Bmp, Mat, true, true, false, false}, {Bmp, Bmp, true, false, false, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const bool mat = c.reader == Mat;
        const std::string own = mat ? "wall.MAT" : "wall.BMP";
        const std::string other = mat ? "wall.BMP" : "wall.MAT";
        writeFiles({other});
        preferences = {{}, c.primary, c.bmpIfMatFails, c.matIfBmpFails};
        Material material;
        material.path = full(own);
        material.explicitPath = c.explicitPath;
        const auto decoded = mat ? decodeMat(material, palette, preferences)
                                 : decodeBmp(material, palette, preferences);
        EXPECT_EQ(decoded.has_value(), c.handsOver) << "case " << i;
        EXPECT_EQ(fileNumber(material), c.handsOver ? 1 : 0) << "case " << i;
        EXPECT_EQ(material.path, full(c.handsOver ? other : own)) << "case " << i;
    }

    // A file that opens but holds nothing usable is not handed over.
    writeFiles({"wall.BMP"});
    write("wall.MAT", "garbage");
    Material material;
    material.path = full("wall.MAT");
    EXPECT_EQ(decodeMat(material, palette, preferences), std::nullopt);
}

TEST_F(TextureLoaderTest, PaletteChangeReloadsOnlyPaletteColouredTextures) {
    write("indexed.MAT", matTexture(1, 1, 8, "\x05"));
    write("colour.MAT", matColour(6));
    write("direct.MAT", matTexture(1, 1, 16, std::string("\0\0", 2)));
    write("image.BMP", bmpFile(1, 1, 24, "\x07\x07\x07\x07"));
    Model model;
    for (const char* name : {"indexed", "colour", "direct", "image"})
        model.materials.push_back(load(name));
    ASSERT_EQ(model.materials[3].path, full("image.BMP"));

    palette.entries.fill({9, 9, 9});
    for (Material& material : model.materials)
        material.pixels.assign(3, 0xEE); // marks what is not decoded again
    loader.reloadPaletteTextures(model);
    EXPECT_EQ(model.materials[0].pixels, std::vector<std::uint8_t>({9, 9, 9}));
    EXPECT_EQ(model.materials[1].pixels, std::vector<std::uint8_t>(8 * 8 * 3, 9));
    EXPECT_EQ(model.materials[2].pixels, std::vector<std::uint8_t>(3, 0xEE));
    EXPECT_EQ(model.materials[3].pixels, std::vector<std::uint8_t>(3, 0xEE));
    // A reload takes the file that the search found, as given.
    EXPECT_TRUE(model.materials[0].explicitPath);
    EXPECT_EQ(model.materials[0].path, full("indexed.MAT"));
}

// Each archive's directory is read at its first use in a load, a damaged one skipped with why.
TEST_F(TextureLoaderTest, ReadsArchivesOncePerLoadAndPaletteReloadsFindTheirFilesAgain) {
    writeFiles({"a.gob:mat\\wall.mat"});
    write("cut.gob", withI32(gobArchive({{"mat\\wall.mat", "x"}}), 16, 4096));
    const std::vector<std::string> sources = {"missing", "cut.gob", "a.gob"};
    const std::vector<std::string> problems = {
        full("missing") + ": there is no such folder or archive",
        full("cut.gob") + ": the archive's directory points outside the file"};
    beginLoad(sources);
    Model model;
    model.materials.push_back(load("wall"));
    EXPECT_EQ(model.materials[0].path, full("a.gob/mat/wall.MAT"));
    palette.entries.fill({9, 9, 9});
    loader.reloadPaletteTextures(model);
    EXPECT_EQ(fileNumber(model.materials[0]), 9);

    write("a.gob", gobArchive({{"mat\\floor.mat", matColour(2)}}));
    EXPECT_EQ(fileNumber(load("floor")), 0);
    EXPECT_EQ(loader.sourceProblems(), problems);
    beginLoad(sources);
    EXPECT_EQ(fileNumber(load("floor")), 9);
    EXPECT_EQ(loader.sourceProblems(), problems);
}

// An image too large for the memory there is leaves its material untextured, as an unreadable
// one does, instead of ending the program.
TEST_F(TextureLoaderTest, AnImageTooLargeToHoldLeavesItsMaterialUntextured) {
    if (kNoAllocationFailures)
        GTEST_SKIP() << kNoAllocationFailures;
    // A 16 MB file of palette indices that decodes to 48 MB of texels.
    const std::string path =
        write("huge.mat", matTexture(4096, 4096, 8, std::string(4096 * 4096, '\1')));
    const ChildResult child = runInChild([&] {
        if (!limitAddressSpace(std::size_t{32} << 20))
            return std::string("no limit");
        Material material;
        loader.loadTexture(material, path);
        return std::string(material.notLoaded && material.width == 0 ? "untextured" : "textured");
    });
    EXPECT_TRUE(child.exited) << "ended by signal " << child.signal;
    EXPECT_EQ(child.output, "untextured");
}

// Read from memory and from a file alike. Finding files in an archive that reads is the
// texture search's test.
TEST(GobArchive, RefusesDamagedArchives) {
    // Two files, "abc" at 288 and "de" at 291; the entries start at 16 and 152.
    const std::string good = gobArchive({{"mat\\a.mat", "abc"}, {"mat\\b.mat", "de"}});
    ASSERT_EQ(good.size(), 293u);
    // 1025 empty files: the directory takes two reads, the last entry's length passes the end.
    const std::string many = gobArchive(std::vector<GobFile>(1025, {"x", ""}));
    const std::pair<std::string, GobError> cases[] = {
        {good, GobError::None},
        {"GOB", GobError::NotGob},
        {"GOB\x0A" + good.substr(4), GobError::NotGob}, // the older game's archives
        {good.substr(0, 4), GobError::Truncated},
        {withI32(good, 8, 290), GobError::OutOfRange}, // no room for the count
        {withI32(good, 8, -1), GobError::OutOfRange},
        {withI32(good, 12, 0), GobError::Empty},
        {withI32(good, 12, 3), GobError::Truncated}, // a third entry would pass the end
        {good.substr(0, 200), GobError::Truncated},
        {withI32(good, 12, 0x7FFFFFFF), GobError::TooLarge},
        {withI32(good, 156, 3), GobError::OutOfRange},                   // "de" past the end
        {withI32(withI32(good, 16, -16), 20, 32), GobError::OutOfRange}, // wraps in 32 bits
        {withI32(many, 16 + 1024 * 136 + 4, 1), GobError::OutOfRange},
    };
    TempDir dir;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [bytes, error] = cases[i];
        EXPECT_EQ(readGobDirectory(asBytes(bytes)).error, error) << "case " << i;
        EXPECT_EQ(readGobDirectory(dir.write("case.gob", bytes)).error, error) << "case " << i;
    }
    EXPECT_EQ(readGobDirectory(dir.path().string()).error, GobError::CannotOpen);
    // A file in an archive beyond the limit of every file read is too large, not missing.
    EXPECT_EQ(readGobEntry(dir.write("case.gob", good), {288, (256u << 20) + 1}).status,
              FileStatus::TooLarge);
}

// Loads textures into a real GL context and reads them back.
class TextureUploadTest : public TextureLoaderTest {
protected:
    void SetUp() override {
        gl = HeadlessGl::create(8, 8);
        ASSERT_NE(gl, nullptr) << "no EGL context on this machine";
        ASSERT_TRUE(decodeCmp(asBytes(cmpFile()), palette));
        loader.setUploadEnabled(true);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // Level 0 as R, G, B, bottom row first, rows packed tightly.
    static Texels texels(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        Texels out(static_cast<std::size_t>(width * height) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!out.empty())
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    std::unique_ptr<HeadlessGl> gl;
};

TEST_F(TextureUploadTest, MatAndBmpRowsArriveUnskewed) {
    // Rows of 9 bytes, not a multiple of the unpack alignment set here.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    Material three;
    loader.loadTexture(three, dir.write("three.mat", matTexture(3, 2, 8, "\1\2\3\4\5\6")));
    EXPECT_EQ(texels(three.glTexture), cmpColours({4, 5, 6, 1, 2, 3}));
    EXPECT_FALSE(three.notLoaded);
    EXPECT_TRUE(three.pixels.empty());
    GLint value = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 2) << "the upload leaves the unpack alignment as it found it";
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        glGetTexParameteriv(GL_TEXTURE_2D, filter, &value);
        EXPECT_EQ(value, GL_NEAREST);
    }

    // 3 x 2, 24 bits: rows of 9 bytes padded to 12, B, G, R each, bottom row first.
    const std::string pixels("\1\2\3\4\5\6\7\10\11\0\0\0\21\22\23\24\25\26\27\30\31\0\0\0", 24);
    Material bmp;
    loader.loadTexture(bmp, dir.write("rock.bmp", bmpFile(3, 2, 24, pixels)));
    EXPECT_EQ(texels(bmp.glTexture),
              Texels({3, 2, 1, 6, 5, 4, 9, 8, 7, 19, 18, 17, 22, 21, 20, 25, 24, 23}));
}

TEST_F(TextureUploadTest, ReloadReplacesTheTextureAndAMissingFileGivesTheCheckerboard) {
    const std::string path = dir.write("a.mat", matColour(3));
    Material material;
    loader.loadTexture(material, path);
    const GLuint first = material.glTexture;
    palette.entries[3] = palette.entries[4];
    loader.reloadTexture(material);
    EXPECT_NE(material.glTexture, first);
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
    EXPECT_EQ(texels(material.glTexture), cmpColours(std::vector<int>(64, 4)));

    const GLuint second = material.glTexture;
    std::filesystem::remove(path);
    loader.reloadTexture(material);
    EXPECT_TRUE(material.notLoaded);
    EXPECT_EQ(glIsTexture(second), GL_FALSE);
    // 8 x 8 cells, magenta in the corner.
    const Texels missing = texels(material.glTexture);
    ASSERT_EQ(missing.size(), 8u * 8 * 3);
    EXPECT_EQ(Texels(missing.begin(), missing.begin() + 6), Texels({255, 0, 255, 64, 64, 64}));
}

} // namespace
} // namespace sw::test
