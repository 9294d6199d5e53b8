// skinweaver-cli's commands run as a user runs them.

#include "editor/UvEditor.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/TempDir.h"
#include "support/TextureFiles.h"
#include "textures/MatWriter.h"
#include "textures/Palette.h"
#include "textures/TextureLoader.h"

#include <QImage>
#include <QLine>
#include <QProcess>
#include <QSettings>
#include <QStringList>

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace sw::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kSamples = SW_SAMPLES_DIR;
const std::string kSample = kSamples + "/totem.3do";

struct ProgramResult {
    int exitCode = -1; // -1 when it did not run or did not end by itself
    std::string out;
    std::string err;
};

using Arguments = std::vector<std::string>;

// skinweaver-cli run as a user runs it with the arguments and then `more`, in this process's
// environment with the "NAME=value" entries of `environment` added or replacing those of the
// same name.
ProgramResult cli(Arguments arguments, const Arguments& more = {},
                  const Arguments& environment = {}) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const std::string& entry : environment) {
        const std::size_t equals = entry.find('=');
        variables.insert(QString::fromStdString(entry.substr(0, equals)),
                         QString::fromStdString(entry.substr(equals + 1)));
    }
    QStringList list;
    for (const std::string& argument : arguments)
        list.append(QString::fromStdString(argument));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.start(SW_CLI_PATH, list);
    process.closeWriteChannel();
    ProgramResult result;
    if (process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

QImage image(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

// Each test's files live in a folder of its own.
class Cli : public testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    TempDir dir;
};

// A call that names no command, or a command with wrong arguments, exits with 2 and that
// command's usage and writes nothing.
TEST_F(Cli, WrongCallsExitWithTwoAndTheUsageAndWriteNothing) {
    const std::string out = path("out");
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
        {"remap", kSample, out, "--mesh", "0", "--group", "0", "--direction", "top", "--rotate",
         "45"},
        {"remap", kSample, out, "--mesh", "0", "--group", "0", "--direction", "top", "--flip", "w"},
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
        EXPECT_FALSE(fs::exists(out));
    }
}

// A command that fails exits with 1, says why on stderr and writes nothing.
TEST_F(Cli, FailuresSayWhyOnStderrAndWriteNothing) {
    const std::string out = path("out");
    const std::string bad = dir.write("bad.3do", "SECTION: HEADER 3DO 2.1");
    const std::string missing = path("missing.bmp");
    const std::string notes = dir.write("notes.mat", "notes");
    const std::string vertex =
        dir.write("vertex.3do", replaced(kTriangleModel, "3 0, 0 1, 1", "3 0, 0 7, 1"));
    const std::string unwritable = path("missing/out.3do");
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
        {{"uvlayout", kSample, unwritable, "--mesh", "0", "--group", "0"},
         unwritable + ": the image could not be written: No such file or directory.\n"},
        {remap("3", "0"), "The model has no mesh 3: it has 3 meshes, numbered from 0.\n"},
        {remap("0", "-1"), "Mesh 0 (base) has no group -1: it has 2 groups, numbered from 0.\n"},
        {remap("0", "2"), "Mesh 0 (base) has no group 2: it has 2 groups, numbered from 0.\n"},
    };
    for (const auto& [arguments, err] : rows) {
        const ProgramResult result = cli(arguments);
        EXPECT_EQ(result.exitCode, 1) << testing::PrintToString(arguments);
        EXPECT_EQ(result.err, err);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(Cli, InfoPrintsTheFileLayerAsJson) {
    const auto result = cli({"info", dir.write("tri.3do", kTriangleModel)});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, dataFile("triangle.json"));
}

QRgb colour(const std::vector<std::uint8_t>& rgb) {
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

// The PNG shows the texture upright: a MAT's first row on top, a BMP's last.
TEST_F(Cli, TextureWritesMatAndBmpImagesUprightAsPng) {
    const std::string mat = dir.write("wall.mat", matTexture(2, 2, 8, "\x01\x02\x03\x04"));
    const std::string out = path("out.png");
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

// (That it draws with the textures, the sources test shows.)
TEST_F(Cli, RenderDrawsTheSampleInTheMiddleOfTheImage) {
    const auto render = [&](const std::string& name, const Arguments& options) {
        const std::string out = path(name);
        const auto result = cli({"render", kSample, out}, options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return image(out);
    };
    const QImage front = render("front.png", {});
    ASSERT_EQ(front.size(), QSize(512, 512)); // without --size
    // The model fills the middle; the corners are the black background.
    EXPECT_FALSE(black(front.pixel(256, 256)));
    EXPECT_TRUE(black(front.pixel(0, 0)));
    EXPECT_TRUE(black(front.pixel(511, 511)));

    // Turning and zooming change the picture; zooming out leaves more background.
    EXPECT_NE(render("tilted.png", {"--pitch", "30"}), front);
    EXPECT_NE(render("turned.png", {"--yaw", "45"}), front);
    EXPECT_GT(blackPixels(render("far.png", {"--zoom", "-60"})), blackPixels(front));
    // Seen from below, the pillar hides the top's underside: its brown wood shows there, not
    // the grey the bricks take without their palette.
    EXPECT_LT(qBlue(render("below.png", {"--pitch", "-30"}).pixel(240, 195)), 64);
}

// What is saved is the writer's (its own test has the bytes): saved again, it stays the same.
TEST_F(Cli, ResaveSavesAsTheEditorDoesAndOffsetPutsTheLowestVertexOnTheGround) {
    const auto first = cli({"resave", kSample, path("out.3do")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string saved = readFile(path("out.3do"));
    ASSERT_EQ(cli({"resave", path("out.3do"), path("again.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(path("again.3do")), saved);

    // The base's node lifts the base by 0.05: its bottom is the model's lowest point. Nothing
    // else changes.
    ASSERT_EQ(cli({"offset", kSample, path("offset.3do")}).exitCode, 0);
    EXPECT_EQ(readFile(path("offset.3do")),
              replaced(saved, "INSERT OFFSET 0 0 0\r", "INSERT OFFSET 0 0 0.05\r"));
}

// The editor's message boxes go to stderr, and the model is saved all the same.
TEST_F(Cli, ResaveWarnsOnStderrAsTheEditorWarns) {
    Model large = model({"a"}, {triangles(513)});
    FakeTextures textures;
    FakeMessageBox messages;
    ASSERT_TRUE(large.prepare(textures.fn(), messages));
    const std::string out = path("out.3do");
    const auto warned = cli({"resave", dir.write("large.3do", large.outputText()), out});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err, "WARNING: Mesh mesh contains 513 surfaces.\n\nOnly 512 surfaces are "
                          "allowed per mesh.\n\nThis 3do model will cause Jedi Knight to crash.\n");
    EXPECT_TRUE(fs::exists(out));
}

// The remapped model, saved beside a copy of the sample's textures and drawn again, shows the
// same texture view as the remap drawn at once: the file keeps the new mapping exactly.
TEST_F(Cli, ARemapSavedAndReadBackShowsWhatTheRemapShowed) {
    fs::copy(kSamples, dir.path(), fs::copy_options::recursive);
    const Arguments head{"--mesh", "1", "--group", "0"};
    const auto run = [&](const Arguments& arguments, const Arguments& options) {
        const auto result = cli(arguments, options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    };
    run({"remap", kSample, path("remapped.3do"), "--direction", "left"}, head);
    run({"uvview", kSample, path("direct.png"), "--direction", "left", "--size", "96x64"}, head);
    run({"uvview", path("remapped.3do"), path("reread.png"), "--size", "96x64"}, head);

    const QImage direct = image(path("direct.png"));
    ASSERT_EQ(direct.size(), QSize(96, 64));
    EXPECT_EQ(direct, image(path("reread.png")));
    // Textured over the whole view, corners included. The wood is twice as tall as wide:
    // fitted 16 pixels inside the top and bottom, the unit square is 16 wide from x 40, a
    // red point on each of its corners.
    for (const QPoint at : {QPoint(48, 32), QPoint(0, 0), QPoint(95, 63)}) {
        EXPECT_NE(direct.pixel(at), qRgb(255, 255, 255));
        EXPECT_NE(direct.pixel(at), qRgb(0, 0, 0));
    }
    for (const QPoint corner : {QPoint(40, 16), QPoint(55, 47)}) {
        EXPECT_GT(qRed(direct.pixel(corner)), 200);
        EXPECT_LT(qGreen(direct.pixel(corner)), 60);
    }

    // Without its texture a remapped group is saved in fractions of one: said, written anyway.
    const auto bare =
        cli({"remap", std::string(SW_TEST_DATA_DIR) + "/triangle.3do", path("bare.3do"), "--mesh",
             "0", "--group", "0", "--direction", "front"});
    EXPECT_EQ(bare.exitCode, 0);
    EXPECT_THAT(bare.err, StartsWith("warning: These texture groups were changed, but their "
                                     "textures were not found:\n\n    tri, floor: saved in "
                                     "fractions"));
    EXPECT_TRUE(fs::exists(path("bare.3do")));

    run({"uvview", kSample, path("plain.png"), "--mesh", "0", "--group", "1"}, {});
    EXPECT_EQ(image(path("plain.png")).size(), QSize(512, 512));
    for (const QSize size : {QSize(1, 8192), QSize(8192, 1)}) { // the largest side
        const std::string text = std::to_string(size.width()) + "x" + std::to_string(size.height());
        run({"uvlayout", kSample, path("long.png"), "--size", text}, head);
        EXPECT_EQ(image(path("long.png")).size(), size);
    }
}

// The batch tool's box remap is the editor's: the lantern's tilted sides, byte for byte.
TEST_F(Cli, BoxRemapSavesWhatTheEditorsBoxRemapGives) {
    const std::string lantern = kSamples + "/lantern.3do";
    const auto result = cli(
        {"remap", lantern, path("box.3do"), "--mesh", "0", "--group", "0", "--direction", "box"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Model model;
    Preferences preferences;
    Palette palette;
    TextureLoader textures(palette, preferences);
    textures.setUploadEnabled(false);
    textures.setDirectory(kSamples + "/");
    FakeMessageBox messages;
    ASSERT_TRUE(model.load(lantern) && model.prepare(textures.function(), messages));
    ASSERT_TRUE(UvEditor(model, 0, 0).boxRemap(model, messages));
    EXPECT_EQ(readFile(path("box.3do")), model.outputText());
}

// The MAT file the writer makes of an image as the image shows it.
std::string encoded(const QImage& image, MatPixels pixels, const Palette& palette) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const std::uint8_t* bytes = rgba.constBits();
    const EncodeResult file = encodeMat(
        {rgba.width(), rgba.height(), {bytes, bytes + rgba.sizeInBytes()}}, pixels, palette);
    return {file.bytes.begin(), file.bytes.end()};
}

class MatCommand : public Cli {
protected:
    std::string save(const QImage& image, const std::string& name) const {
        EXPECT_TRUE(image.save(QString::fromStdString(path(name))));
        return path(name);
    }
};

// The file holds the image top row first, through the built-in palette unless a palette file
// is given; a transparent pixel is kept as such and its colour as it was.
TEST_F(MatCommand, WritesTheImageAsTheWriterEncodesIt) {
    QImage painted(4, 2, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(0, 0, 0),        qRgb(255, 255, 255), qRgb(255, 0, 255),
                            qRgba(12, 34, 56, 0), qRgb(255, 0, 0),     qRgb(0, 255, 0),
                            qRgb(0, 0, 255),      qRgb(128, 128, 128)};
    for (int i = 0; i < 8; ++i)
        painted.setPixel(i % 4, i / 4, colours[i]);
    const std::string png = save(painted, "painted.png");
    Palette builtIn;
    buildDefaultPalette(builtIn);

    const auto eight = cli({"mat", png, path("eight.mat")});
    ASSERT_EQ(eight.exitCode, 0) << eight.err;
    EXPECT_EQ(eight.err, "");
    EXPECT_EQ(readFile(path("eight.mat")), encoded(painted, MatPixels::Indexed, builtIn));
    const auto sixteen = cli({"mat", png, path("sixteen.mat"), "--bits", "16"});
    ASSERT_EQ(sixteen.exitCode, 0) << sixteen.err;
    EXPECT_EQ(readFile(path("sixteen.mat")), encoded(painted, MatPixels::Rgb565, builtIn));

    // The same colours, opaque, from a BMP give the same 16-bit file.
    QImage opaque = painted.convertToFormat(QImage::Format_RGB32);
    opaque.setPixel(3, 0, qRgb(12, 34, 56));
    const auto bmp = cli({"mat", save(opaque, "painted.bmp"), path("bmp.mat"), "--bits", "16"});
    ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
    EXPECT_EQ(readFile(path("bmp.mat")), readFile(path("sixteen.mat")));

    // Sides that are not powers of two are written with a warning.
    Palette fromFile;
    decodeCmp(asBytes(cmpFile()), fromFile);
    QImage odd(3, 1, QImage::Format_RGB32);
    odd.fill(qRgb(10, 245, 5));
    const auto warned = cli(
        {"mat", save(odd, "odd.png"), path("odd.mat"), "--cmp", dir.write("test.cmp", cmpFile())});
    ASSERT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_EQ(warned.err, path("odd.png") +
                              ": warning: the image is 3 x 1 pixels; the game's renderer wants "
                              "sides that are powers of two\n");
    EXPECT_EQ(readFile(path("odd.mat")), encoded(odd, MatPixels::Indexed, fromFile));
}

TEST_F(MatCommand, RefusesWhatItCannotConvertAndLeavesTheOutputAlone) {
    const std::string png = save(QImage(4, 4, QImage::Format_RGB32), "ok.png");
    const std::string text = dir.write("notes.png", "just some notes, no image");
    QImage wide(16385, 1, QImage::Format_Mono);
    wide.fill(0);
    QImage huge(8193, 8193, QImage::Format_Mono);
    huge.fill(0);
    const std::string out = dir.write("out.mat", "kept");

    const std::pair<Arguments, std::string> rows[] = {
        {{text, out}, "notes.png: not an image this program reads: "},
        {{path("missing.png"), out}, "missing.png: cannot open the file"},
        {{save(wide, "wide.png"), out},
         "the image is 16385 x 1 pixels; a MAT this program reads has at most 16384 pixels a side"},
        {{save(huge, "huge.png"), out},
         "8193 x 8193 pixels; a MAT this program reads has at "
         "most 16384 pixels a side and 67108864 in all"},
        {{png, out, "--cmp", text}, "notes.png: not a CMP palette"},
        {{png, path("no/such/folder/out.mat")}, "out.mat: cannot write the MAT file: "},
    };
    for (const auto& [arguments, message] : rows) {
        const auto result = cli({"mat"}, arguments);
        EXPECT_EQ(result.exitCode, 1) << message;
        EXPECT_THAT(result.err, HasSubstr(message));
        EXPECT_EQ(readFile(out), "kept") << message;
    }
    EXPECT_FALSE(fs::exists(path("no")));
}

struct Step {
    Arguments arguments;
    int exitCode;
    std::string out;
    std::string err;
};

// Runs of the tool that keep their settings in `configuration`, not in the user's.
class Sources : public Cli {
protected:
    ProgramResult run(const Arguments& arguments, const Arguments& more = {}) const {
        return cli(arguments, more, {"XDG_CONFIG_HOME=" + configuration.path().string()});
    }
    QImage render(const std::string& model, const Arguments& options = {}) const {
        const auto result = run({"render", model, path("out.png"), "--size", "120x90"}, options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, expectedErr);
        return image(path("out.png"));
    }

    TempDir configuration;
    std::string expectedErr;
};

TEST_F(Sources, AreListedAddedAndRemovedInTheEditorsSettings) {
    const std::string folder = dir.path().string();
    const std::string archive = dir.write("Res2.gob", gobArchive({{"mat\\a.mat", "a"}}));
    const std::string notes = dir.write("notes.gob", "notes");
    const QString stored =
        QString::fromStdString(configuration.path() / "Skinweaver/Skinweaver.conf");
    QSettings(stored, QSettings::IniFormat).setValue("TextureSources", QStringList{"", ""});
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
        const ProgramResult result = run({"sources"}, step.arguments);
        const std::string row = testing::PrintToString(step.arguments);
        EXPECT_EQ(result.exitCode, step.exitCode) << row;
        EXPECT_EQ(result.out, step.out) << row;
        EXPECT_EQ(result.err, step.err) << row;
    }
    EXPECT_EQ(QSettings(stored, QSettings::IniFormat).value("TextureSources").toStringList(),
              QStringList{QString::fromStdString(archive)});
}

// The sample model away from its textures, in mod/3do/, drawn as it is beside them with its
// textures in an archive named for the run or stored; a source that cannot be used is named.
TEST_F(Sources, RenderAndResaveFindTheTexturesInTheSourcesGivenOrStored) {
    const fs::path samples(kSamples);
    const QImage beside = render(kSample);
    const std::string model = path("mod/3do/totem.3do");
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
    const auto resaved =
        run({"resave", model, path("out.3do"), "--textures", notes, "--textures", archive});
    EXPECT_EQ(resaved.exitCode, 0);
    EXPECT_EQ(resaved.err, expectedErr);
}

// The stone of the totem is an 8-bit texture: it shows through the palette given, else the one
// stored in the editor's Preferences, else the built-in one.
TEST_F(Sources, RenderShowsEightBitTexturesThroughTheGivenOrTheStoredPalette) {
    const QImage builtIn = render(kSample);
    const std::string palette = kSamples + "/totem.cmp";
    const QImage given = render(kSample, {"--cmp", palette});
    EXPECT_NE(given, builtIn);
    std::ofstream(configuration.write("Skinweaver/Skinweaver.conf", ""))
        << "[General]\nCmpFile=" << palette << "\n";
    EXPECT_EQ(render(kSample), given);
}

constexpr QRgb kOutline = qRgb(255, 0, 255);

// One square face over the material paint.mat (tests/data/quad.3do) with the texture vertices
// given in texels, in the file's units. Its corners lie at x 0..1 and z 0..1, so a remap from
// the front fills the texture with it.
std::string quadModel(const std::vector<std::pair<double, double>>& txverts) {
    std::ostringstream lines;
    lines << "TEXTURE VERTICES 4\n";
    for (std::size_t i = 0; i < txverts.size(); ++i)
        lines << i << ": " << txverts[i].first << ' ' << txverts[i].second << '\n';
    return replaced(dataFile("quad.3do"), "TEXTURE VERTICES 4\n", lines.str());
}

// A texture file beside the model, of 6 x 4 texels each of its own colour: a 24-bit BMP
// (rows of 18 bytes padded to 20) or an 8-bit MAT of the built-in palette's entries 16 to 39.
struct Texture {
    std::string file;
    std::string bytes;
};

std::string counting(int first, int count, int step) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(first + step * i);
    return bytes;
}

using Corners = std::vector<std::pair<double, double>>;

// The outline of the rectangle from (left, top) to (right, bottom), its pixels included.
std::vector<QLine> frame(int left, int top, int right, int bottom) {
    return {{left, top, right, top},
            {right, top, right, bottom},
            {left, bottom, right, bottom},
            {left, top, left, bottom}};
}

// Whether a pixel lies on one of the horizontal or vertical lines.
bool onLines(const std::vector<QLine>& lines, int x, int y) {
    return std::ranges::any_of(lines, [&](const QLine& line) {
        return QRect(line.p1(), line.p2()).normalized().contains(x, y);
    });
}

// Each row runs twice: the template alone, whose only opaque pixels are the outline, and with
// --underlay, which puts the texture, scaled to the image, under the same outline.
TEST(UvLayoutCommand, OutlinesLieOverTheTexelsTheirCornersAddressOnTheTexture) {
    const Texture bmp{"bmp/paint.BMP", bmpFile(6, 4, 24, counting(1, 80, 3))};
    const Texture mat{"mat/paint.MAT", matTexture(6, 4, 8, counting(16, 24, 1))};
    const Texture none;
    // The corners address texels by GL's rule: u / 6 texture widths is column floor(u), and
    // -v / 4 texture heights is row floor(-v) counted up from the texture's first row, which
    // the texture view shows at the bottom. So these are columns 1 to 4 and the rows 3 and 1
    // from the top: an outline one texel short of the top edge.
    const Corners inside{{1.5, -0.5}, {4.5, -0.5}, {4.5, -2.5}, {1.5, -2.5}};
    const Corners farOut{{-1e300, -2}, {1e300, -2}, {1e300, -3.5}, {-1e300, -3.5}};
    const Corners leftOut{{-3, -0.5}, {3.5, -0.5}, {3.5, -2.5}, {-3, -2.5}};
    const Arguments noOptions;
    const struct {
        const Texture& texture;
        const Corners& corners;
        Arguments options;
        QSize size;
        std::vector<QLine> outline;
    } rows[] = {
        {bmp, inside, noOptions, {6, 4}, frame(1, 1, 4, 3)},
        {mat, inside, noOptions, {6, 4}, frame(1, 1, 4, 3)},
        // Each texel 2 x 2 pixels, the corners on their texels' upper right pixels.
        {bmp, inside, {"--size", "12x8"}, {12, 8}, frame(3, 2, 9, 6)},
        // Remapped to fill the texture: the sides on the image's edges.
        {mat, inside, {"--direction", "front"}, {6, 4}, frame(0, 0, 5, 3)},
        // Reaching out to the left: cut at the edge.
        {bmp, leftOut, noOptions, {6, 4}, {{0, 1, 3, 1}, {3, 1, 3, 3}, {0, 3, 3, 3}}},
        // Corners far out on both sides: the long sides cross the whole image.
        {bmp, farOut, noOptions, {6, 4}, {{0, 1, 5, 1}, {0, 0, 5, 0}}},
        // No texture: 512 x 512, the corners scaled by their largest u and lowest v.
        {none, inside, noOptions, {512, 512}, frame(170, 0, 511, 409)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        TempDir dir;
        const std::string model = dir.write("quad.3do", quadModel(row.corners));
        // The texture as the texture command shows it, upright.
        QImage texture;
        if (!row.texture.file.empty()) {
            const std::string png = (dir.path() / "texture.png").string();
            ASSERT_EQ(
                cli({"texture", dir.write(row.texture.file, row.texture.bytes), png}).exitCode, 0);
            texture = image(png);
        }
        for (const bool underlay : {false, true}) {
            SCOPED_TRACE(underlay ? "with underlay" : "alone");
            const std::string out = (dir.path() / "template.png").string();
            Arguments options = row.options;
            if (underlay)
                options.push_back("--underlay");
            const auto result =
                cli({"uvlayout", model, out, "--mesh", "0", "--group", "0"}, options);
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.err, underlay && texture.isNull()
                                      ? "Group 0 of mesh 0 has no texture: the outlines are "
                                        "drawn on a transparent ground.\n"
                                      : "");

            const QImage image = test::image(out).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), row.size);
            int wrong = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    QRgb expected = qRgba(0, 0, 0, 0);
                    if (onLines(row.outline, x, y))
                        expected = kOutline;
                    else if (underlay && !texture.isNull())
                        expected =
                            texture.pixel(x * 6 / row.size.width(), y * 4 / row.size.height());
                    const QRgb pixel = image.pixel(x, y);
                    // Transparent pixels match whatever colour they keep.
                    if (pixel != expected && (qAlpha(expected) != 0 || qAlpha(pixel) != 0) &&
                        ++wrong <= 3)
                        ADD_FAILURE() << "pixel " << x << ", " << y << " is " << std::hex << pixel
                                      << ", not " << expected;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

// After the remap the whole group turns or mirrors, in texels of its texture: the quad's front
// remap fills the 6 x 4 texels, and a quarter turn left about their middle makes it 4 wide and
// 6 high.
TEST(RemapCommand, TurnsOrMirrorsTheGroupInTexelsAfterTheRemap) {
    TempDir dir;
    const std::string model = dir.write("quad.3do", quadModel({{0, 0}, {0, 0}, {0, 0}, {0, 0}}));
    dir.write("mat/paint.MAT", matTexture(6, 4, 8, counting(16, 24, 1)));
    const std::pair<Arguments, std::string> rows[] = {
        {{}, "0: 6 -0\r\n1: 0 -0\r\n2: 0 -4\r\n3: 6 -4\r\n"},
        {{"--rotate", "90"}, "0: 5 -5\r\n1: 5 1\r\n2: 1 1\r\n3: 1 -5\r\n"},
        {{"--rotate", "270"}, "0: 1 1\r\n1: 1 -5\r\n2: 5 -5\r\n3: 5 1\r\n"},
        {{"--flip", "v"}, "0: 6 -4\r\n1: 0 -4\r\n2: 0 -0\r\n3: 6 -0\r\n"}};
    const std::string out = (dir.path() / "out.3do").string();
    for (const auto& [options, vertices] : rows) {
        const auto result = cli(
            {"remap", model, out, "--mesh", "0", "--group", "0", "--direction", "front"}, options);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_THAT(readFile(out), HasSubstr("TEXTURE VERTICES 4\r\n\r\n" + vertices))
            << testing::PrintToString(options);
    }
}

} // namespace
} // namespace sw::test
