#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace sw {
namespace {

const std::string kSamples = SW_SAMPLES_DIR;
const std::string kSample = kSamples + "/totem.3do";

test::ProgramResult cli(const std::vector<std::string>& arguments) {
    return test::runProgram(SW_CLI_PATH, arguments);
}

// The remapped model, saved beside a copy of the sample's textures and drawn again, shows the
// same texture view as the remap drawn at once: the file keeps the new mapping exactly.
TEST(EditorCommands, ARemapSavedAndReadBackShowsWhatTheRemapShowed) {
    test::TempDir dir;
    std::filesystem::copy(kSamples, dir.path(), std::filesystem::copy_options::recursive);
    const std::string remapped = (dir.path() / "remapped.3do").string();
    const std::string direct = (dir.path() / "direct.png").string();
    const std::string reread = (dir.path() / "reread.png").string();

    auto result =
        cli({"remap", kSample, remapped, "--mesh", "1", "--group", "0", "--direction", "left"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = cli({"uvview", kSample, direct, "--mesh", "1", "--group", "0", "--direction", "left",
                  "--size", "96x64"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = cli({"uvview", remapped, reread, "--mesh", "1", "--group", "0", "--size", "96x64"});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const QImage image(QString::fromStdString(direct));
    ASSERT_EQ(image.size(), QSize(96, 64));
    EXPECT_EQ(image, QImage(QString::fromStdString(reread)));
    // Textured over the whole view, the points red in its corners.
    EXPECT_NE(image.pixel(48, 32), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(48, 32), qRgb(0, 0, 0));
    EXPECT_GT(qRed(image.pixel(0, 0)), 200);
    EXPECT_LT(qGreen(image.pixel(0, 0)), 60);

    ASSERT_EQ(cli({"uvview", kSample, direct, "--mesh", "0", "--group", "1"}).exitCode, 0);
    EXPECT_EQ(QImage(QString::fromStdString(direct)).size(), QSize(512, 512));
}

TEST(EditorCommands, AGroupThatDoesNotExistOrAWrongCallWritesNothing) {
    test::TempDir dir;
    const std::string out = (dir.path() / "out.3do").string();
    const struct {
        std::vector<std::string> options;
        int exitCode;
        std::string err;
    } rows[] = {
        {{"--mesh", "3", "--group", "0", "--direction", "top"},
         1,
         "The model has no mesh 3: it has 3 meshes, numbered from 0.\n"},
        {{"--mesh", "0", "--group", "-1", "--direction", "top"},
         1,
         "Mesh 0 (base) has no group -1: it has 2 groups, numbered from 0.\n"},
        {{"--mesh", "0", "--group", "0", "--direction", "side"}, 2, ""},
        {{"--mesh", "0", "--direction", "top"}, 2, ""},
        {{"--mesh", "0", "--group", "0"}, 2, ""},
    };
    for (const auto& row : rows) {
        std::vector<std::string> arguments{"remap", kSample, out};
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        if (row.exitCode == 1)
            EXPECT_EQ(result.err, row.err);
        else
            EXPECT_EQ(result.err.rfind("Usage: skinweaver-cli remap ", 0), 0U) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
} // namespace sw
