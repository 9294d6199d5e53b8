#include "support/ModelText.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace sw {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

test::ProgramResult cli(const std::vector<std::string>& arguments) {
    return test::runProgram(SW_CLI_PATH, arguments);
}

class Resave : public ::testing::Test {
protected:
    std::string out(const std::string& name = "out.3do") const {
        return (dir.path() / name).string();
    }
    const std::string sample = std::string(SW_SAMPLES_DIR) + "/totem.3do";
    test::TempDir dir;
};

TEST_F(Resave, WritesTheSampleAsTheEditorSavesItAndAgainTheSame) {
    const auto first = cli({"resave", sample, out()});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(first.err.empty()) << first.err;
    const std::string saved = test::readFile(out());
    EXPECT_THAT(saved, StartsWith("# TEXTURED by Skinweaver 1.1\r\n\r\nSECTION: HEADER\r\n"));
    EXPECT_THAT(saved, HasSubstr("\r\nMATERIALS 4\r\n0: stone.MAT\r\n1: wood.MAT\r\n2: red.MAT\r\n"
                                 "3: banner.MAT\r\n"));
    EXPECT_THAT(saved, HasSubstr("\r\nINSERT OFFSET 0 0 0\r\n"));

    const auto second = cli({"resave", out(), out("again.3do")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(test::readFile(out("again.3do")), saved);
}

TEST_F(Resave, OffsetPutsTheLowestPlacedVertexOnTheGround) {
    // The base's node lifts the base by 0.05: its bottom is the model's lowest point.
    const auto result = cli({"offset", sample, out()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string saved = test::readFile(out());
    EXPECT_THAT(saved, HasSubstr("\r\nINSERT OFFSET 0 0 0.05\r\n"));
    // Nothing else changes.
    ASSERT_EQ(cli({"resave", sample, out("plain.3do")}).exitCode, 0);
    EXPECT_EQ(test::replaced(test::readFile(out("plain.3do")), "INSERT OFFSET 0 0 0\r",
                             "INSERT OFFSET 0 0 0.05\r"),
              saved);
}

TEST_F(Resave, ReportsWhatTheEditorWouldShowOnStderr) {
    std::string faces;
    for (int k = 0; k < 513; ++k)
        faces += std::to_string(k) + ": 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2\n";
    std::string normals;
    for (int k = 0; k < 513; ++k)
        normals += std::to_string(k) + ": 0 0 1\n";
    std::string large =
        test::replaced(test::kTriangleModel, "FACES 1\n0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2\n",
                       "FACES 513\n" + faces);
    large = test::replaced(large, "FACE NORMALS\n0: 0 0 1\n", "FACE NORMALS\n" + normals);
    const auto warned = cli({"resave", dir.write("large.3do", large), out()});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err, "WARNING: Mesh tri contains 513 surfaces.\n\nOnly 512 surfaces are "
                          "allowed per mesh.\n\nThis 3do model will cause Jedi Knight to crash.\n");

    const auto unreadable = cli({"resave", dir.write("bad.3do", "SECTION: HEADER"), out()});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, "Error loading file.\n");

    const std::string badVertex =
        test::replaced(test::kTriangleModel, "3 0, 0 1, 1 2, 2", "3 0, 0 7, 1 2, 2");
    const auto refused = cli({"offset", dir.write("vertex.3do", badVertex), out("x.3do")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Error initializing model.\nFace 0 of mesh 0 (tri) names vertex 7, "
                           "but the mesh has 3 vertices.\n");
    EXPECT_FALSE(std::filesystem::exists(out("x.3do")));

    const std::string unwritable = (dir.path() / "missing" / "out.3do").string();
    const auto failed = cli({"resave", sample, unwritable});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              unwritable + ": the model could not be written\nIts folder does not exist.\n");

    EXPECT_EQ(cli({"resave", sample}).exitCode, 2);
    EXPECT_EQ(cli({"offset", sample, out(), out()}).exitCode, 2);
}

} // namespace
} // namespace sw
