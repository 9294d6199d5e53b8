#include "model/Model.h"
#include "model/NumberText.h"

#include "support/ChildProcess.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw::test {
namespace {

using ::testing::HasSubstr;

std::string real(double value) {
    char text[kMaxNumberText];
    return {text, formatReal(value, text)};
}

// %g's own rules are the C library's; ours are its precision, an exponent of at least three
// digits, a negative zero kept, and a number for what printf would not write as one.
TEST(NumberText, RealsAreWrittenAsPercentGWithThreeExponentDigits) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {0.00005, "5e-005"},
        {2e6, "2e+006"},
        {0, "0"},
        {-0.0, "-0"},
        {1234567, "1.23457e+006"},
        {1e-300, "1e-300"},
        {kMax, "1.79769e+308"},
        {std::numeric_limits<double>::infinity(), "1.79769e+308"},
        {-std::numeric_limits<double>::infinity(), "-1.79769e+308"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(real(row.value), row.text) << row.value;
}

// Two materials, the first with a texture of 64 x 32, the second without one; faces of
// material 1, then 0, then 1 again, then of a material that is not listed, sharing texture
// vertices across their groups; texture vertex 4 is used by no face. Comments, labels and the
// second geoset are not carried over. Negative zeros, which real models hold, stay negative.
const std::string kSmallModel = dataFile("box.3do");

long filesIn(const TempDir& dir) {
    return std::distance(std::filesystem::directory_iterator(dir.path()), {});
}

class Writer : public ::testing::Test {
protected:
    Model loaded(const std::string& text) {
        Model m;
        EXPECT_TRUE(loadText(text, m));
        EXPECT_TRUE(m.prepare(textures.fn(), messages));
        return m;
    }

    FakeTextures textures;
    FakeMessageBox messages;
    TempDir dir;
};

// The file saves to exactly the expected bytes, again to the same bytes, and reads back as a
// file layer that saves to them once more.
TEST_F(Writer, WritesTheLayoutByteForByteAndReadsItBack) {
    textures.sizes = {{"wall", {64, 32}}};
    Model m = loaded(kSmallModel);
    // Faces group by group, each with its own normal. The untextured groups write the values
    // of the file, the textured one its texels; a texture vertex that groups shared is
    // written once for each group.
    const std::string expected = dataFile("box-saved.3do");
    EXPECT_EQ(m.outputText(), expected);
    const std::string path = (dir.path() / "box.3do").string();
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(m.save(path));
        EXPECT_EQ(readFile(path), expected) << "save " << save;
    }
    Model again;
    ASSERT_TRUE(again.load(path));
    ASSERT_TRUE(again.prepare(textures.fn(), messages));
    EXPECT_EQ(again.outputText(), expected);
}

TEST_F(Writer, WritesEveryOwnTextureVertexOfAGroupUsedOrNot) {
    Model m =
        model({"a", "b"}, {mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{5, 0}, {6, 0}, {7, 0}, {8, 0}},
                                {face(0, {{0, 3}, {1, 1}}), face(1, {{2, 2}})})});
    ASSERT_TRUE(m.prepare(textures.fn(), messages));
    // The editor gave group 1 three texture vertices of its own, its face using one.
    GlGroup& own = m.meshes[0].glGroups[1];
    own.shared = false;
    own.ownTxverts = {{0.5, 0.25}, {1, 0}, {0, 1}};
    own.glFaces[0].refs[0].txvert = 2;
    const std::string text = m.outputText();
    // v turns back to the file's direction by its sign alone, so an edited 0 becomes -0.
    EXPECT_THAT(text, HasSubstr("\r\nTEXTURE VERTICES 5\r\n\r\n0: 8 0\r\n1: 6 0\r\n2: 0.5 -0.25\r\n"
                                "3: 1 -0\r\n4: 0 -1\r\n\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\nFACES 2\r\n\r\n0: 0 0x0000 4 3 3 0 2 0, 0 1, 1\r\n"
                                "1: 1 0x0000 4 3 3 0 1 2, 4\r\n\r\n"));
}

TEST_F(Writer, WordsStartingWithACommaReadBackAsTheyWere) {
    // The reader skips one comma before a word: after two commas the word starts with one.
    std::string text = kSmallModel;
    text.replace(text.find("0x0001"), 6, ",,flag");
    Model m = loaded(text);
    ASSERT_EQ(m.nodes[0].type, ",flag");
    const std::string saved = m.outputText();
    EXPECT_THAT(saved, HasSubstr("0: 0x0000 ,,flag 0 "));
    Model again = loaded(saved);
    EXPECT_EQ(again.nodes[0].type, ",flag");
}

TEST_F(Writer, AFailedSaveLeavesTheFileThatWasThere) {
    Model m = loaded(kSmallModel);
    const std::string path = dir.write("box.3do", "the old model");

    EXPECT_FALSE(m.save((dir.path() / "missing" / "box.3do").string()));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));

    // A disk that fills up part-way: writes beyond the limit fail.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = m.save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(path), "the old model");
    // Nothing is left behind beside it.
    EXPECT_EQ(filesIn(dir), 1);

    ASSERT_TRUE(m.save(path));
    EXPECT_THAT(readFile(path), HasSubstr("NAME box\r\n"));
}

// Replacing a file takes only the folder's permission; saving must take the file's own.
TEST_F(Writer, AFileTheUserMayNotWriteStaysAsItWas) {
    Model m = loaded(kSmallModel);
    const std::string path = dir.write("box.3do", "the old model");
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
    std::filesystem::permissions(dir.path(), perms::all); // anyone may make files beside it

    const ChildResult child = runInChild([&]() -> std::string {
        if (const std::string why = becomeUnprivileged(); !why.empty())
            return "skip: " + why;
        if (const int fd = ::open(path.c_str(), O_WRONLY); fd >= 0) {
            ::close(fd);
            return "skip: this user may write any file";
        }
        return m.save(path) ? "saved" : m.saveError();
    });
    if (child.output.starts_with("skip: "))
        GTEST_SKIP() << child.output.substr(6);
    EXPECT_EQ(child.output, "The file there cannot be opened for writing: Permission denied.");
    EXPECT_EQ(readFile(path), "the old model");
    EXPECT_EQ(filesIn(dir), 1);
}

TEST_F(Writer, TheNewFileKeepsTheModeOwnerAndGroupOfTheOld) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give the old file an owner other than itself";
    Model m = loaded(kSmallModel);
    const std::string path = dir.write("box.3do", "the old model");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(m.save(path));
    struct stat saved {};
    ASSERT_EQ(::stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, 65534u);
    EXPECT_EQ(saved.st_gid, 65534u);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
    EXPECT_THAT(readFile(path), HasSubstr("NAME box\r\n"));
}

} // namespace
} // namespace sw::test
