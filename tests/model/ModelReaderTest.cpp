#include "model/ModelReader.h"
#include "model/Model.h"
#include "support/ChildProcess.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/Mutator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace sw::test {
namespace {

bool loads(const std::string& text) {
    Model model;
    return loadText(text, model);
}

Model loaded(const std::string& text) {
    Model model;
    EXPECT_TRUE(loadText(text, model));
    return model;
}

TEST(ModelReader, ReadsEveryFieldOfTheFileLayer) {
    EXPECT_EQ(fileLayer(loaded(kTriangleModel)), dataFile("triangle.layer"));
}

struct NumberRow {
    const char* text;
    double value;
};

// The model with `key`'s number written as each row's text, and as each refused text.
void expectNumbers(const std::string& key, double (*field)(const Model&),
                   std::span<const NumberRow> rows, std::initializer_list<const char*> refused) {
    const auto with = [&key](const char* text) {
        return replaced(kTriangleModel, key, key.substr(0, key.find(' ') + 1) + text);
    };
    for (const NumberRow& row : rows)
        EXPECT_EQ(field(loaded(with(row.text))), row.value) << row.text;
    for (const char* text : refused)
        EXPECT_FALSE(loads(with(text))) << text;
}

TEST(ModelReader, NumbersInTheFormsFilesHoldThem) {
    // An integer takes its base from its prefix (so 8 ends an octal one), in up to 15
    // characters. Too large for an int, or without digits, it cannot be extracted.
    const NumberRow integers[] = {{"010", 8},
                                  {"018", 1},
                                  {"0x10", 16},
                                  {"0X1f", 31},
                                  {"0x000000000001F", 31},
                                  {"-0x2", -2},
                                  {"+7", 7},
                                  {"0", 0},
                                  {"00000", 0},
                                  {"2147483647", 2147483647},
                                  {"-2147483648", -2147483648}};
    expectNumbers("GEOMETRYMODE 4",
                  [](const Model& m) -> double { return m.meshes[0].geometryMode; }, integers,
                  {"2147483648", "0x80000000", "99999999999", "-", "x1", "abc"});
    // Reals as community tools write them, at most 27 characters; out of range or not a
    // number, they are refused.
    const NumberRow reals[] = {
        {".02", 0.02},   {"-0.000000", -0.0}, {"+1.5", 1.5}, {"1e-3", 0.001},
        {"2.5E+2", 250}, {"7.", 7},           {"-.5", -0.5}, {"0.00000000000000000000000001", 0}};
    expectNumbers("RADIUS 1.5", [](const Model& m) { return m.meshes[0].radius; }, reals,
                  {"1e999", "1e", ".", "nan", "inf"});
}

// Corners take one comma with blanks on either side; comments, blanks and line ends between
// any two tokens change nothing.
TEST(ModelReader, BlanksCommentsAndLineEndsBetweenAnyTwoTokensChangeNothing) {
    std::vector<std::string> variants;
    for (const char* line : {"0,0 1,1 2,2", "0 ,0 1 ,1 2 ,2", "0 , 0 1 , 1 2 , 2",
                             "0,\t0\r\n1,1 2,2", "0, 0 1,# a comment right after a comma\n1 2, 2"})
        variants.push_back(replaced(kTriangleModel, "0, 0 1, 1 2, 2", line));
    // A comment line between every two tokens (but not right after a comma glued to its
    // number: there the blanks after the comma belong to the next number); CR LF; tabs and
    // trailing blanks.
    std::string commented;
    std::istringstream words(kTriangleModel);
    for (std::string word; words >> word;)
        commented += word + (word.back() == ',' ? " " : "\n# num: x: y: z: (a heading)\n");
    std::string crlf;
    std::string tabs;
    for (char c : kTriangleModel) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        tabs += c == ' '    ? std::string("\t ")
                : c == '\n' ? std::string("  \t\n")
                            : std::string(1, c);
    }
    // Entry labels of any form.
    variants.insert(variants.end(), {commented, crlf, tabs,
                                     replaced(kTriangleModel, "0: 0 0 0 0", "vertex#0 0 0 0 0"),
                                     replaced(kTriangleModel, "1: 1 0 0 0", "1 1 0 0 0")});
    for (const std::string& variant : variants)
        EXPECT_EQ(fileLayer(loaded(variant)), fileLayer(loaded(kTriangleModel))) << variant;
}

TEST(ModelReader, RefusesWhatCannotBeReadAsAModel) {
    const std::pair<const char*, const char*> rows[] = {
        {"0, 0 1, 1", "0,, 0 1, 1"}, // one comma is skipped, not two
        // Keywords are case-sensitive.
        {"NAME tri", "name tri"},
        {"FACE NORMALS", "Face NORMALS"},
        // Counts below their least.
        {"MESHES 1", "MESHES 0"},
        {"VERTICES 3", "VERTICES -1"},
        {"FACES 1", "FACES -1"},
        {"4 3 3 0 3 0, 0", "4 3 3 0 -3 0, 0"},
        {"MATERIALS 2", "MATERIALS -2"},
        {"NODES 1", "NODES -1"},
        // A count far beyond what the file holds fails at the end of the data without
        // claiming memory for the count.
        {"VERTICES 3", "VERTICES 2147483647"},
        {"FACES 1", "FACES 2000000000"},
        {"4 3 3 0 3 0, 0", "4 3 3 0 2000000000 0, 0"},
    };
    for (const auto& [from, to] : rows)
        EXPECT_FALSE(loads(replaced(kTriangleModel, from, to))) << to;

    // Every prefix that stops before the last node's name is incomplete; a keyword that is the
    // last token of the file counts as not found.
    const auto lastName = kTriangleModel.rfind("root");
    for (std::size_t length = 0; length < lastName; ++length)
        ASSERT_FALSE(loads(kTriangleModel.substr(0, length))) << "prefix of length " << length;
    EXPECT_FALSE(loads(kTriangleModel.substr(0, kTriangleModel.find("HIERARCHY NODES") + 15)));
    EXPECT_TRUE(loads(kTriangleModel.substr(0, lastName + 4)));
}

using Field = std::string (*)(const Model&);
const Field kMeshName = [](const Model& m) { return m.meshes[0].name; };
const Field kFaceType = [](const Model& m) { return m.meshes[0].faces[0].type; };
const Field kNodeName = [](const Model& m) { return m.nodes[0].hnodename; };
const Field kNodeFlags = [](const Model& m) { return m.nodes[0].flags; };
const Field kCorners = [](const Model& m) {
    return std::to_string(m.meshes[0].faces[0].numVertices());
};
const Field kMaterials = [](const Model& m) {
    return m.materials[0].name + "|" + m.materials[1].name;
};
const Field kCounts = [](const Model& m) {
    return std::to_string(m.numMaterials()) + " " + std::to_string(m.numMeshes()) + " " +
           std::to_string(m.numNodes());
};

// Each row: the triangle model with one piece replaced, and the field the reader made of it.
TEST(ModelReader, WordsAreTakenAsWrittenNamesCutToTheirFieldsAndListsMayBeEmpty) {
    std::string face = "face-0: 0 0x0000 4 3 3 0.000000 24";
    for (int c = 0; c < 24; ++c)
        face += " " + std::to_string(c % 3) + "," + std::to_string(c % 3);
    const struct {
        const char* from;
        std::string to;
        Field field;
        std::string read;
    } rows[] = {
        // "#" inside a word is part of the word, and any byte is an ordinary character.
        {"NAME tri", "NAME tri#1", kMeshName, "tri#1"},
        {"NAME tri", "NAME \xff\x01x", kMeshName, "\xff\x01x"},
        // Unknown words before a keyword are passed over.
        {"NAME tri", "MYSTERY 12 NAME tri", kMeshName, "tri"},
        {"root", "00root", kNodeName, "00root"},
        {"root", std::string(300, 'n'), kNodeName, std::string(255, 'n')},
        {"0x0000 4 3 3", "0x2 4 3 3", kFaceType, "0x2"},
        {"0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2", face, kCorners, "24"},
        {"0x0000 4 3 3", std::string(100, 't') + " 4 3 3", kFaceType, std::string(63, 't')},
        {"0x0000 0x00001", std::string(70, 'f') + " 1", kNodeFlags, std::string(63, 'f')},
        // The extension is cut whatever its case; a name too short to carry one is kept whole,
        // and one of four characters is all extension.
        {"0: wall.mat", "0: 00wall.MAT", kMaterials, "00wall|floor"},
        {"1: floor.mat", "1: abc", kMaterials, "wall|abc"},
        {"1: floor.mat", "1: dark", kMaterials, "wall|"},
        {"1: floor.mat", "1: .mat", kMaterials, "wall|"},
        // Lists may be empty.
        {"MATERIALS 2\n0: wall.mat\n1: floor.mat\n", "MATERIALS 0\n", kCounts, "0 1 1"},
        {"HIERARCHY NODES 1", "HIERARCHY NODES 0", kCounts, "2 1 0"},
        {"VERTICES 3", "VERTICES 0 TEXTURE VERTICES 0 VERTEX NORMALS FACES 0 FACE NORMALS", kCounts,
         "2 1 1"}, // an empty mesh: the rest of the mesh's text is passed over
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.field(loaded(replaced(kTriangleModel, row.from, row.to))), row.read)
            << row.to;

    // Only the first geoset is read.
    const std::string second = "GEOSET 1\nMESHES 1\nMESH 0\nNAME lod1\nRADIUS 9\n"
                               "this geoset is never parsed 1 2 3\n";
    const Model lods =
        loaded(replaced(replaced(kTriangleModel, "GEOSETS 1", "GEOSETS 4"), "SECTION: HIERARCHYDEF",
                        second + second + second + "SECTION: HIERARCHYDEF"));
    EXPECT_EQ(std::tuple(lods.numGeosets, kCounts(lods), lods.meshes.at(0).name),
              std::tuple(4, "2 1 1", "tri"));

    // The part of a comment line beyond 255 characters ("#" included) is read as words: here a
    // second "MESHES" keyword that the search then finds.
    EXPECT_TRUE(loads(replaced(kTriangleModel, "MESHES 1", "# MESHES 0\nMESHES 1")));
    EXPECT_FALSE(loads(
        replaced(kTriangleModel, "MESHES 1", "#" + std::string(254, 'x') + "MESHES 0\nMESHES 1")));
}

TEST(ModelReaderStreaming, LongRunsCrossTheBuffer) {
    const std::string longWord(1000, 'w');
    const std::string longComment = "#" + std::string(700, 'c') + " MESHES 0\n";
    std::string text = replaced(kTriangleModel, "0: 0 0 0 0", longWord + " 0 0 0 0");
    text = replaced(text, "NAME tri", "NAME " + longWord);
    text =
        replaced(text, "FACES 1", std::string(900, ' ') + "FACES" + std::string(900, '\n') + "1");
    text = replaced(text, "GEOSETS 1", longComment + longComment + "GEOSETS 1");
    expectStreamingAgrees(text);
    // The comments' overflow holds no MESHES keyword.
    EXPECT_EQ(loaded(text).meshes.at(0).name, std::string(kMaxNameLength, 'w'));

    // The overflow of a comment longer than 255 characters is read as words, streamed too.
    expectStreamingAgrees(
        replaced(kTriangleModel, "MESHES 1", "#" + std::string(300, 'x') + " MESHES 0\nMESHES 1"));
}

// The short decimals of usual files take a quick path; every real must still come out as the
// correctly rounded double the C library makes of the same text: at the edges of that path
// (19 digits, 2^53, 22 decimals) and for random ones.
TEST(ModelReaderStreaming, RealsAreConvertedExactly) {
    std::vector<std::string> texts = {"9007199254740991",
                                      "9007199254740993",
                                      "0.9007199254740993",
                                      "1234567890123456789",
                                      "0.1234567890123456789",
                                      "0.0000000000000000000001",
                                      "0.00000000000000000000011",
                                      "-0.000000",
                                      "2.5e-3",
                                      "0.1"};
    std::mt19937_64 random(99);
    char text[64];
    for (int i = 0; i < 300; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_int_distribution<int>(-8, 12)(random));
        const double value = std::uniform_real_distribution<double>(-1, 1)(random) * magnitude;
        const int decimals = std::uniform_int_distribution<int>(0, 17)(random);
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strlen(text) <= 27) // longer reals are cut, as the format's tools cut them
            texts.emplace_back(text);
    }
    for (const std::string& real : texts) {
        double read = 0;
        ModelReader reader(real);
        ASSERT_TRUE(reader.readDouble(read)) << real;
        const double expected = std::strtod(real.c_str(), nullptr);
        ASSERT_EQ(read, expected) << real;
        ASSERT_EQ(std::signbit(read), std::signbit(expected)) << real;
    }
}

// Damaged models: load answers true or false without reading outside an array (the sanitizer
// build checks that), alike whether the text is read whole or streamed, and what it accepts is
// well formed; what it accepts prepares or is refused with a reason, keeps every coordinate
// finite, and saves to a file that reads back and saves again to the same bytes.

// Textures without files: decided by the first letter of the name, so that damaged names
// still give a mix of sizes and of materials without a texture.
void loadTexture(Material& material, const std::string&) {
    const char first = material.name.empty() ? '\0' : material.name[0];
    material.notLoaded = first != 's' && first != 'w';
    material.width = first == 's' ? 64 : first == 'w' ? 128 : 0;
    material.height = first == 's' ? 64 : first == 'w' ? 32 : 0;
}

// What the reader accepted keeps to the sizes of the game's buffers and its own lists.
void checkLoaded(const Model& model, const std::string& text) {
    ASSERT_GE(model.numMeshes(), 1) << text;
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.vertexNormals.size(), mesh.vertices.size()) << text;
        ASSERT_EQ(mesh.faceNormals.size(), mesh.faces.size()) << text;
        for (const Vertex& v : mesh.vertices)
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << text;
        // The faces' corners follow one another through the mesh's corner list, which holds
        // nothing else.
        std::size_t corners = 0;
        for (const Face& face : mesh.faces) {
            ASSERT_EQ(face.refs(mesh.corners).data(), mesh.corners.data() + corners) << text;
            corners += face.refs(mesh.corners).size();
        }
        ASSERT_EQ(corners, mesh.corners.size()) << text;
    }
}

// The invariants of a prepared model that the editor and the views rely on.
void checkPrepared(const Model& model, const std::string& text) {
    ASSERT_TRUE(std::isfinite(model.center.x) && std::isfinite(model.center.y) &&
                std::isfinite(model.center.z) && std::isfinite(model.extent))
        << text;
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.glVerts.size(), mesh.vertices.size()) << text;
        ASSERT_EQ(mesh.glTxverts.size(), mesh.txverts.size()) << text;
        for (const GlVert& v : mesh.glVerts)
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << text;
        for (const GlTxvert& t : mesh.glTxverts)
            ASSERT_TRUE(std::isfinite(t.u) && std::isfinite(t.v)) << text;
        std::vector<int> groupOfTxvert(mesh.txverts.size(), -1);
        std::size_t faces = 0;
        for (int g = 0; g < mesh.numGlGroups(); ++g) {
            for (const GlFace& face : mesh.glGroups[static_cast<std::size_t>(g)].glFaces) {
                ++faces;
                for (const VertexRef& ref : face.refs) {
                    ASSERT_TRUE(ref.vertex >= 0 && ref.vertex < mesh.numVertices()) << text;
                    ASSERT_TRUE(ref.txvert >= 0 && ref.txvert < mesh.numTxverts()) << text;
                    int& group = groupOfTxvert[static_cast<std::size_t>(ref.txvert)];
                    ASSERT_TRUE(group < 0 || group == g) << "texture vertex in two groups\n"
                                                         << text;
                    group = g;
                }
            }
        }
        ASSERT_EQ(faces, mesh.faces.size()) << text;
    }
}

TEST(ModelRobustness, DamagedModelsLoadPrepareAndSaveCleanly) {
    const std::string sample = readFile(std::string(SW_SAMPLES_DIR) + "/totem.3do");
    ASSERT_FALSE(sample.empty());
    Mutator mutator(20261205);
    FakeMessageBox messages;
    int prepared = 0;
    for (const std::string& original : {kTriangleModel, sample}) {
        for (int i = 0; i < 300 && !HasFatalFailure(); ++i) {
            // Three in four damaged anyhow, the fourth with extreme numbers in place of others
            // so that it still reads and reaches preparation.
            const std::string text =
                i % 4 ? mutator.mutate(original) : mutator.replaceNumbers(original);
            expectStreamingAgrees(text);
            Model model;
            if (!loadText(text, model))
                continue;
            checkLoaded(model, text);
            if (!model.prepare(loadTexture, messages)) {
                // Only refusals that say why: no allocation fails on models this small.
                ASSERT_FALSE(model.preparationError().empty()) << text;
                continue;
            }
            ++prepared;
            checkPrepared(model, text);
            const std::string saved = model.outputText();

            Model again;
            ASSERT_TRUE(loadText(saved, again)) << text << "\n----\n" << saved;
            ASSERT_TRUE(again.prepare(loadTexture, messages)) << saved;
            ASSERT_EQ(again.outputText(), saved) << text;
        }
    }
    // Enough of the damaged models must reach preparation for the test to mean something.
    EXPECT_GT(prepared, 60);
}

// A model too large for the memory there is fails to load instead of ending the program.
TEST(ModelRobustness, AModelTooLargeToHoldFailsToLoad) {
    if (kNoAllocationFailures)
        GTEST_SKIP() << kNoAllocationFailures;
    // A million vertices: some 40 MB as records, far beyond what the child may add.
    constexpr int kVertices = 1 << 20;
    std::string vertices = "VERTICES " + std::to_string(kVertices) + "\n";
    std::string normals = "VERTEX NORMALS\n";
    for (int j = 0; j < kVertices; ++j) {
        vertices += "v 0 0 0 0\n";
        normals += "n 0 0 1\n";
    }
    TempDir dir;
    const std::string path = dir.write(
        "huge.3do",
        replaced(replaced(kTriangleModel, "VERTICES 3\n0: 0 0 0 0\n1: 1 0 0 0\n2: 0 1 0.25 0.5\n",
                          vertices),
                 "VERTEX NORMALS\n0: 0 0 1\n1: 0 0 1\n2: 0 0 1\n", normals));
    std::string().swap(vertices);
    std::string().swap(normals);
    ASSERT_TRUE(Model().load(path)); // a model, for all its size

    const ChildResult child = runInChild([&] {
        if (!limitAddressSpace(std::size_t{16} << 20))
            return std::string("no limit");
        return std::string(Model().load(path) ? "loaded" : "not loaded");
    });
    EXPECT_TRUE(child.exited) << "ended by signal " << child.signal;
    EXPECT_EQ(child.output, "not loaded");
}

} // namespace
} // namespace sw::test
