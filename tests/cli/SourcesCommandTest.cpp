#include "Cli.h"

#include "support/TextureFiles.h"

#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>

namespace sw::test {
namespace {

namespace fs = std::filesystem;

struct Step {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;
    std::string err;
};

// Runs of the tool that keep their settings in `configuration`, not in the user's.
class Sources : public testing::Test {
protected:
    ProgramResult run(const std::vector<std::string>& arguments) const {
        return cli(arguments, {"XDG_CONFIG_HOME=" + configuration.path().string()});
    }
    QImage render(const std::string& model, const std::vector<std::string>& options = {}) const {
        const std::string out = (dir.path() / "out.png").string();
        std::vector<std::string> arguments{"render", model, out, "--size", "120x90"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, expectedErr);
        return image(out);
    }

    TempDir configuration;
    TempDir dir;
    std::string expectedErr;
};

TEST_F(Sources, AreListedAddedAndRemovedInTheEditorsSettings) {
    const std::string folder = dir.path().string();
    const std::string archive = dir.write("Res2.gob", gobArchive({{"mat\\a.mat", "a"}}));
    const std::string notes = dir.write("notes.gob", "notes");
    const Step steps[] = {
        {{"list"}, 0, "", ""},
        {{"add", folder}, 0, "", ""},
        {{"add", archive}, 0, "", ""},
        {{"add", archive}, 0, "", ""}, // listed already
        {{"add", notes}, 1, "", "Not added: " + notes + ": the file is no GOB archive\n"},
        {{"list"}, 0, folder + "\n" + archive + "\n", ""},
        {{"remove", folder + "/."}, 0, "", ""}, // a path to it, not as listed
        {{"remove", folder}, 1, "", folder + ": not a texture source\n"},
        {{"list"}, 0, archive + "\n", ""},
    };
    for (const Step& step : steps) {
        std::vector<std::string> arguments{"sources"};
        arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
        const ProgramResult result = run(arguments);
        const std::string row = testing::PrintToString(step.arguments);
        EXPECT_EQ(result.exitCode, step.exitCode) << row;
        EXPECT_EQ(result.out, step.out) << row;
        EXPECT_EQ(result.err, step.err) << row;
    }
    const QSettings stored(
        QString::fromStdString((configuration.path() / "Skinweaver/Skinweaver.conf").string()),
        QSettings::IniFormat);
    EXPECT_EQ(stored.value("TextureSources").toStringList(),
              QStringList{QString::fromStdString(archive)});
}

// The sample model away from its textures, in mod/3do/, drawn as it is beside them with its
// textures in an archive named for the run or stored; a source that cannot be used is named.
TEST_F(Sources, RenderAndResaveFindTheTexturesInTheSourcesGivenOrStored) {
    const fs::path samples(kSamples);
    const QImage beside = render(kSample);
    const std::string model = (dir.path() / "mod/3do/totem.3do").string();
    fs::create_directories(dir.path() / "mod/3do");
    fs::copy_file(samples / "totem.3do", model);
    EXPECT_NE(render(model), beside);

    const auto sample = [&samples](const char* file) { return readFile(samples / file); };
    const std::string archive =
        dir.write("Res2.gob", gobArchive({{"mat\\STONE.MAT", sample("mat/stone.MAT")},
                                          {"mat\\WOOD.MAT", sample("mat/wood.MAT")},
                                          {"3do\\mat\\red.mat", sample("mat/red.MAT")},
                                          {"bmp\\banner.bmp", sample("bmp/banner.BMP")}}));
    EXPECT_EQ(render(model, {"--textures", archive}), beside);
    EXPECT_NE(render(model), beside); // not stored

    ASSERT_EQ(run({"sources", "add", archive}).exitCode, 0);
    const std::string notes = dir.write("notes.gob", "notes");
    expectedErr = "Texture source skipped: " + notes + ": the file is no GOB archive\n";
    EXPECT_EQ(render(model, {"--textures", notes}), beside);
    const auto resaved = run({"resave", model, (dir.path() / "out.3do").string(), "--textures",
                              notes, "--textures", archive});
    EXPECT_EQ(resaved.exitCode, 0);
    EXPECT_EQ(resaved.err, expectedErr);
}

} // namespace
} // namespace sw::test
