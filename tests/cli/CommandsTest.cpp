// skinweaver-cli's commands run as a user runs them, but for mat, sources and uvlayout, which
// have files of their own.

#include "Cli.h"

#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/TextureFiles.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace sw::test {
namespace {

using ::testing::StartsWith;

using Arguments = std::vector<std::string>;

// A call that names no command, or a command with wrong arguments, exits with 2 and that
// command's usage and writes nothing.
TEST(Usage, WrongCallsExitWithTwoAndTheUsageAndWriteNothing) {
    TempDir dir;
    const std::string out = (dir.path() / "out").string();
    const std::string png = dir.write("in.png", "");
    const Arguments calls[] = {
        {},
        {"no-such-command"},
        {"info"},
        {"info", kSample, kSample},
        {"texture", png},
        {"resave", kSample},
        {"offset", kSample, out, out},
        {"render", kSample},
        {"render", kSample, out, "--size", "0x10"},
        {"render", kSample, out, "--size", "100"},
        {"render", kSample, out, "--size", "99999x2"},
        {"render", kSample, out, "--yaw", "left"},
        {"render", kSample, out, "--zoom", "1.5"},
        {"remap", kSample, out, "--mesh", "0", "--group", "0", "--direction", "side"},
        {"remap", kSample, out, "--mesh", "0", "--direction", "top"},
        {"remap", kSample, out, "--mesh", "0", "--group", "0"},
        {"uvview", kSample, out, "--mesh", "0"},
        {"uvlayout", kSample, out, "--group", "0"},
        {"uvlayout", kSample, out, "--mesh", "0", "--group", "0", "--size", "1x8193"},
        {"mat", png, out, "--bits", "12"},
        {"mat", png},
        {"sources"},
        {"sources", "drop", png}};
    for (const Arguments& call : calls) {
        const ProgramResult result = cli(call);
        const std::string command =
            call.empty() || call[0] == "no-such-command" ? "<command>" : call[0];
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(call);
        EXPECT_THAT(result.err, StartsWith("Usage: skinweaver-cli " + command + " "));
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// A command that fails exits with 1, says why on stderr and writes nothing.
TEST(Commands, FailuresSayWhyOnStderrAndWriteNothing) {
    TempDir dir;
    const std::string out = (dir.path() / "out").string();
    const std::string bad = dir.write("bad.3do", "SECTION: HEADER 3DO 2.1");
    const std::string missing = (dir.path() / "missing.bmp").string();
    const std::string notes = dir.write("notes.mat", "notes");
    const std::string vertex =
        dir.write("vertex.3do", replaced(kTriangleModel, "3 0, 0 1, 1", "3 0, 0 7, 1"));
    const std::string unwritable = (dir.path() / "missing" / "out.3do").string();
    const auto remap = [&](const char* mesh, const char* group) {
        return Arguments{"remap",   kSample, out,           "--mesh", mesh,
                         "--group", group,   "--direction", "top"};
    };
    const std::pair<Arguments, std::string> rows[] = {
        {{"info", bad}, "Error loading file.\n"},
        {{"info", missing}, "Error loading file.\n"},
        {{"texture", notes, out},
         notes + ": not a MAT image this program reads: the file ends before the data its "
                 "header describes\n"},
        {{"texture", missing, out}, missing + ": cannot open the file\n"},
        {{"resave", bad, out}, "Error loading file.\n"},
        {{"offset", vertex, out},
         "Error initializing model.\nFace 0 of mesh 0 (tri) names vertex 7, but the mesh has 3 "
         "vertices.\n"},
        {{"resave", kSample, unwritable},
         unwritable + ": the model could not be written\nIts folder does not exist.\n"},
        {remap("3", "0"), "The model has no mesh 3: it has 3 meshes, numbered from 0.\n"},
        {remap("0", "-1"), "Mesh 0 (base) has no group -1: it has 2 groups, numbered from 0.\n"},
        {remap("0", "2"), "Mesh 0 (base) has no group 2: it has 2 groups, numbered from 0.\n"},
    };
    for (const auto& [arguments, err] : rows) {
        const ProgramResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 1) << testing::PrintToString(arguments);
        EXPECT_EQ(result.err, err);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(InfoCommand, PrintsTheFileLayerAsJson) {
    TempDir dir;
    const auto result = cli({"info", dir.write("tri.3do", kTriangleModel)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, dataFile("triangle.json"));
}

QRgb colour(const std::vector<std::uint8_t>& rgb) {
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

// The PNG shows the texture upright: a MAT's first row on top, a BMP's last.
TEST(TextureCommand, WritesMatAndBmpImagesUprightAsPng) {
    TempDir dir;
    const std::string mat = dir.write("wall.mat", matTexture(2, 2, 8, "\x01\x02\x03\x04"));
    const std::string out = (dir.path() / "out.png").string();
    const auto indexed = cli({"texture", mat, out, "--cmp", dir.write("pal.cmp", cmpFile())});
    ASSERT_EQ(indexed.exitCode, 0) << indexed.err;
    EXPECT_EQ(indexed.err, "");
    const QImage shown = image(out);
    ASSERT_EQ(shown.size(), QSize(2, 2));
    EXPECT_EQ(shown.pixel(0, 0), colour(cmpColours({1})));
    EXPECT_EQ(shown.pixel(1, 0), colour(cmpColours({2})));
    EXPECT_EQ(shown.pixel(0, 1), colour(cmpColours({3})));

    const std::string bmp =
        dir.write("rock.bmp", bmpFile(1, 2, 24, std::string("\1\2\3\0\4\5\6\0", 8)));
    ASSERT_EQ(cli({"texture", bmp, out}).exitCode, 0);
    EXPECT_EQ(image(out).pixel(0, 1), qRgb(3, 2, 1));
    EXPECT_EQ(image(out).pixel(0, 0), qRgb(6, 5, 4));

    // A palette that is no CMP file is reported, and the built-in one stands in.
    const std::string notes = dir.write("notes.cmp", "notes");
    const auto builtIn =
        cli({"texture", dir.write("white.mat", matColour(16)), out, "--cmp", notes});
    EXPECT_EQ(builtIn.exitCode, 0);
    EXPECT_EQ(builtIn.err, "Invalid CMP File: " + notes + "\n");
    EXPECT_EQ(image(out).pixel(7, 7), qRgb(255, 255, 255));
}

bool black(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

int blackPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += black(picture.pixel(x, y)) ? 1 : 0;
    return count;
}

TEST(RenderCommand, DrawsTheSampleTexturedInTheMiddleOfTheImage) {
    TempDir dir;
    const auto render = [&](const std::string& name, std::vector<std::string> options) {
        const std::string out = (dir.path() / name).string();
        std::vector<std::string> arguments{"render", kSample, out, "--size", "120x90"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return image(out);
    };
    const QImage front = render("front.png", {});
    ASSERT_EQ(front.size(), QSize(120, 90));
    // The model fills the middle; the corners are the black background.
    EXPECT_FALSE(black(front.pixel(60, 45)));
    EXPECT_TRUE(black(front.pixel(0, 0)));
    EXPECT_TRUE(black(front.pixel(119, 89)));
    // Textured: the column in the middle is not of one flat colour.
    QList<QRgb> colours;
    for (int y = 30; y < 60; ++y)
        if (!colours.contains(front.pixel(60, y)))
            colours.append(front.pixel(60, y));
    EXPECT_GT(colours.size(), 3);

    // Turning and zooming change the picture; zooming out leaves more background.
    EXPECT_NE(render("tilted.png", {"--pitch", "30"}), front);
    EXPECT_NE(render("turned.png", {"--yaw", "45"}), front);
    EXPECT_GT(blackPixels(render("far.png", {"--zoom", "-60"})), blackPixels(front));
}

// What is saved is the writer's (its own test has the bytes): saved again, it stays the same.
TEST(ResaveCommand, SavesAsTheEditorDoesAndOffsetPutsTheLowestVertexOnTheGround) {
    TempDir dir;
    const auto out = [&dir](const std::string& name) { return (dir.path() / name).string(); };
    const auto first = cli({"resave", kSample, out("out.3do")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string saved = readFile(out("out.3do"));
    ASSERT_EQ(cli({"resave", out("out.3do"), out("again.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(out("again.3do")), saved);

    // The base's node lifts the base by 0.05: its bottom is the model's lowest point. Nothing
    // else changes.
    ASSERT_EQ(cli({"offset", kSample, out("offset.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(out("offset.3do")),
              replaced(saved, "INSERT OFFSET 0 0 0\r", "INSERT OFFSET 0 0 0.05\r"));
}

// The editor's message boxes go to stderr, and the model is saved all the same.
TEST(ResaveCommand, WarnsOnStderrAsTheEditorWarns) {
    TempDir dir;
    Model large = model({"a"}, {triangles(513)});
    FakeTextures textures;
    FakeMessageBox messages;
    ASSERT_TRUE(large.prepare(textures.fn(), messages));
    const std::string out = (dir.path() / "out.3do").string();
    const auto warned = cli({"resave", dir.write("large.3do", large.outputText()), out});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err, "WARNING: Mesh mesh contains 513 surfaces.\n\nOnly 512 surfaces are "
                          "allowed per mesh.\n\nThis 3do model will cause Jedi Knight to crash.\n");
    EXPECT_TRUE(std::filesystem::exists(out));
}

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
    run({"uvlayout", kSample, out("tall.png"), "--size", "1x8192"}, head); // the largest side
    EXPECT_EQ(image(out("tall.png")).size(), QSize(1, 8192));
}

} // namespace
} // namespace sw::test
