#include "Cli.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sw::test {
namespace {

// The remapped model, saved beside a copy of the sample's textures and drawn again, shows the
// same texture view as the remap drawn at once: the file keeps the new mapping exactly.
TEST(EditorCommands, ARemapSavedAndReadBackShowsWhatTheRemapShowed) {
    TempDir dir;
    std::filesystem::copy(kSamples, dir.path(), std::filesystem::copy_options::recursive);
    const auto out = [&dir](const std::string& name) { return (dir.path() / name).string(); };
    const std::vector<std::string> head{"--mesh", "1", "--group", "0"};
    const auto run = [&](std::vector<std::string> arguments, std::vector<std::string> options) {
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    };
    run({"remap", kSample, out("remapped.3do"), "--direction", "left"}, head);
    run({"uvview", kSample, out("direct.png"), "--direction", "left", "--size", "96x64"}, head);
    run({"uvview", out("remapped.3do"), out("reread.png"), "--size", "96x64"}, head);

    const QImage direct = image(out("direct.png"));
    ASSERT_EQ(direct.size(), QSize(96, 64));
    EXPECT_EQ(direct, image(out("reread.png")));
    // Textured over the whole view, the points red in its corners.
    EXPECT_NE(direct.pixel(48, 32), qRgb(255, 255, 255));
    EXPECT_NE(direct.pixel(48, 32), qRgb(0, 0, 0));
    EXPECT_GT(qRed(direct.pixel(0, 0)), 200);
    EXPECT_LT(qGreen(direct.pixel(0, 0)), 60);

    run({"uvview", kSample, out("plain.png"), "--mesh", "0", "--group", "1"}, {});
    EXPECT_EQ(image(out("plain.png")).size(), QSize(512, 512));
}

TEST(EditorCommands, AMeshOrGroupThatDoesNotExistIsReportedAndNothingWritten) {
    TempDir dir;
    const std::string out = (dir.path() / "out.3do").string();
    const auto remap = [&](const char* mesh, const char* group) {
        return cli({"remap", kSample, out, "--mesh", mesh, "--group", group, "--direction", "top"});
    };
    const auto noMesh = remap("3", "0");
    EXPECT_EQ(noMesh.exitCode, 1);
    EXPECT_EQ(noMesh.err, "The model has no mesh 3: it has 3 meshes, numbered from 0.\n");
    const auto noGroup = remap("0", "-1");
    EXPECT_EQ(noGroup.exitCode, 1);
    EXPECT_EQ(noGroup.err, "Mesh 0 (base) has no group -1: it has 2 groups, numbered from 0.\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace sw::test
