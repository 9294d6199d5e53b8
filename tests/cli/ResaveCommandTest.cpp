#include "Cli.h"

#include "support/ModelText.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace sw::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ResaveCommand, SavesAsTheEditorDoesAndOffsetPutsTheLowestVertexOnTheGround) {
    TempDir dir;
    const auto out = [&dir](const std::string& name) { return (dir.path() / name).string(); };
    const auto first = cli({"resave", kSample, out("out.3do")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string saved = readFile(out("out.3do"));
    EXPECT_THAT(saved, StartsWith("# TEXTURED by Skinweaver 1.1\r\n\r\nSECTION: HEADER\r\n"));
    EXPECT_THAT(saved, HasSubstr("\r\nMATERIALS 4\r\n0: stone.MAT\r\n1: wood.MAT\r\n2: red.MAT\r\n"
                                 "3: banner.MAT\r\n"));
    ASSERT_EQ(cli({"resave", out("out.3do"), out("again.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(out("again.3do")), saved);

    // The base's node lifts the base by 0.05: its bottom is the model's lowest point. Nothing
    // else changes.
    ASSERT_EQ(cli({"offset", kSample, out("offset.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(out("offset.3do")),
              replaced(saved, "INSERT OFFSET 0 0 0\r", "INSERT OFFSET 0 0 0.05\r"));
}

TEST(ResaveCommand, ReportsWhatTheEditorWouldShowOnStderr) {
    TempDir dir;
    const std::string out = (dir.path() / "out.3do").string();
    std::string faces = "FACES 513\n";
    std::string normals = "FACE NORMALS\n";
    for (int k = 0; k < 513; ++k) {
        faces += std::to_string(k) + ": 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2\n";
        normals += std::to_string(k) + ": 0 0 1\n";
    }
    const std::string large =
        replaced(replaced(kTriangleModel, "FACES 1\n0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2\n", faces),
                 "FACE NORMALS\n0: 0 0 1\n", normals);
    const auto warned = cli({"resave", dir.write("large.3do", large), out});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err, "WARNING: Mesh tri contains 513 surfaces.\n\nOnly 512 surfaces are "
                          "allowed per mesh.\n\nThis 3do model will cause Jedi Knight to crash.\n");
    std::filesystem::remove(out);

    const auto unreadable = cli({"resave", dir.write("bad.3do", "SECTION: HEADER"), out});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, "Error loading file.\n");
    const std::string badVertex = replaced(kTriangleModel, "3 0, 0 1, 1", "3 0, 0 7, 1");
    const auto refused = cli({"offset", dir.write("vertex.3do", badVertex), out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Error initializing model.\nFace 0 of mesh 0 (tri) names vertex 7, "
                           "but the mesh has 3 vertices.\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string unwritable = (dir.path() / "missing" / "out.3do").string();
    const auto failed = cli({"resave", kSample, unwritable});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              unwritable + ": the model could not be written\nIts folder does not exist.\n");
}

} // namespace
} // namespace sw::test
