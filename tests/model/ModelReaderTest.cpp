#include "model/ModelReader.h"
#include "model/Model.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

namespace sw {
namespace {

using test::kTriangleModel;
using test::replaced;
using ::testing::ElementsAre;
using Corners = std::vector<std::pair<int, int>>;

bool loads(const std::string& text) {
    Model model;
    return test::loadText(text, model);
}

Model loaded(const std::string& text) {
    Model model;
    EXPECT_TRUE(test::loadText(text, model));
    return model;
}

Corners corners(const Mesh& mesh, const Face& face) {
    Corners result;
    for (const VertexRef& ref : face.refs(mesh.corners))
        result.emplace_back(ref.vertex, ref.txvert);
    return result;
}

// Everything the reader stored of a text.
std::string fileLayer(const std::string& text) {
    return test::fileLayer(loaded(text));
}

TEST(ModelReader, ReadsEveryFieldOfTheFileLayer) {
    const Model model = loaded(kTriangleModel);
    EXPECT_THAT((std::vector{model.version, model.radius, model.insertOffset.z}),
                ElementsAre(2.1, 0.5, -0.1));
    ASSERT_EQ(model.numMaterials(), 2);
    EXPECT_EQ(model.materials[0].name, "wall");
    EXPECT_EQ(model.materials[1].name, "floor");
    ASSERT_EQ(model.numMeshes(), 1);
    const Mesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.name, "tri");
    EXPECT_EQ(mesh.radius, 1.5);
    EXPECT_THAT((std::vector{mesh.geometryMode, mesh.lightingMode, mesh.textureMode}),
                ElementsAre(4, 3, 3));
    ASSERT_EQ(mesh.numVertices(), 3);
    EXPECT_THAT((std::vector{mesh.vertices[1].x, mesh.vertices[2].z, mesh.vertices[2].intensity}),
                ElementsAre(1, 0.25, 0.5));
    ASSERT_EQ(mesh.numTxverts(), 3);
    EXPECT_THAT((std::vector{mesh.txverts[1].u, mesh.txverts[2].v}), ElementsAre(64, -64));
    ASSERT_EQ(mesh.vertexNormals.size(), 3u);
    EXPECT_EQ(mesh.vertexNormals[0].z, 1);
    ASSERT_EQ(mesh.numFaces(), 1);
    const Face& face = mesh.faces[0];
    EXPECT_EQ(face.material, 1);
    EXPECT_EQ(face.type, "0x0000");
    EXPECT_THAT((std::vector{face.geometryMode, face.lightingMode, face.textureMode}),
                ElementsAre(4, 3, 3));
    EXPECT_EQ(face.extraLight, 0);
    EXPECT_EQ(corners(mesh, face), (Corners{{0, 0}, {1, 1}, {2, 2}}));
    ASSERT_EQ(mesh.faceNormals.size(), 1u);
    ASSERT_EQ(model.numNodes(), 1);
    const HierarchyNode& node = model.nodes[0];
    EXPECT_EQ(node.flags, "0x0000");
    EXPECT_EQ(node.type, "0x00001");
    EXPECT_EQ(node.mesh, 0);
    EXPECT_EQ(node.parent, -1);
    EXPECT_EQ(node.hnodename, "root");
}

struct NumberRow {
    const char* text;
    std::optional<double> value; // none: the model is refused
};

// The model with `key`'s number written as each row's text.
void expectNumbers(const std::string& key, double (*field)(const Model&),
                   std::initializer_list<NumberRow> rows) {
    for (const NumberRow& row : rows) {
        const std::string text =
            replaced(kTriangleModel, key, key.substr(0, key.find(' ') + 1) + row.text);
        SCOPED_TRACE(row.text);
        if (!row.value)
            EXPECT_FALSE(loads(text));
        else
            EXPECT_EQ(field(loaded(text)), *row.value);
    }
}

TEST(ModelReader, NumbersInTheFormsFilesHoldThem) {
    // An integer takes its base from its prefix. Too large for an int, or without digits, it
    // cannot be extracted.
    expectNumbers("GEOMETRYMODE 4",
                  [](const Model& m) -> double { return m.meshes[0].geometryMode; },
                  {{"010", 8},
                   {"0x10", 16},
                   {"0X1f", 31},
                   {"-0x2", -2},
                   {"+7", 7},
                   {"0", 0},
                   {"00000", 0},
                   {"2147483647", 2147483647},
                   {"-2147483648", -2147483648.0},
                   {"2147483648", {}},
                   {"0x80000000", {}},
                   {"99999999999", {}},
                   {"-", {}},
                   {"x1", {}},
                   {"abc", {}}});
    // Reals as community tools write them; out of range or not a number, they are refused.
    expectNumbers("RADIUS 1.5", [](const Model& m) { return m.meshes[0].radius; },
                  {{".02", 0.02},
                   {"-0.000000", -0.0},
                   {"+1.5", 1.5},
                   {"1e-3", 0.001},
                   {"2.5E+2", 250},
                   {"7.", 7},
                   {"-.5", -0.5},
                   {"1e999", {}},
                   {"1e", {}},
                   {".", {}},
                   {"nan", {}},
                   {"inf", {}}});
}

TEST(ModelReader, CornersTakeOneCommaWithBlanksOnEitherSide) {
    for (const char* line :
         {"0,0 1,1 2,2", "0, 0 1, 1 2, 2", "0 ,0 1 ,1 2 ,2", "0 , 0 1 , 1 2 , 2",
          "0,\t0\r\n1,1 2,2", "0, 0 1,# a comment right after a comma\n1 2, 2"}) {
        SCOPED_TRACE(line);
        const Model model = loaded(replaced(kTriangleModel, "0, 0 1, 1 2, 2", line));
        EXPECT_EQ(corners(model.meshes[0], model.meshes[0].faces[0]),
                  (Corners{{0, 0}, {1, 1}, {2, 2}}));
    }
}

TEST(ModelReader, CommentsBlanksAndLineEndsBetweenAnyTwoTokensChangeNothing) {
    const std::string plain = fileLayer(kTriangleModel);

    // A comment line between every two tokens (but not right after a comma glued to its
    // number: there the blanks after the comma belong to the next number).
    std::istringstream words(kTriangleModel);
    std::string commented;
    std::string word;
    while (words >> word) {
        commented += word;
        commented += word.back() == ',' ? " " : "\n# num: x: y: z: (a heading)\n";
    }
    EXPECT_EQ(fileLayer(commented), plain) << "comments";

    std::string crlf;
    std::string tabs;
    for (char c : kTriangleModel) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        tabs += c == ' '    ? std::string("\t ")
                : c == '\n' ? std::string("  \t\n")
                            : std::string(1, c);
    }
    EXPECT_EQ(fileLayer(crlf), plain) << "CR LF";
    EXPECT_EQ(fileLayer(tabs), plain) << "tabs and trailing blanks";
}

TEST(ModelReader, WordsAreTakenAsWrittenAndKeywordsExactly) {
    // "#" inside a word is part of the word, and any byte is an ordinary character.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "NAME tri#1")).meshes[0].name, "tri#1");
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "NAME \xff\x01x")).meshes[0].name,
              "\xff\x01x");
    // Unknown words before a keyword are passed over.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "MYSTERY 12 NAME tri")).meshes[0].name,
              "tri");
    // The part of a comment line beyond 255 characters is read as words: here a second
    // "MESHES" keyword that the search then finds.
    EXPECT_TRUE(loads(replaced(kTriangleModel, "MESHES 1", "# MESHES 0\nMESHES 1")));
    EXPECT_FALSE(loads(
        replaced(kTriangleModel, "MESHES 1", "#" + std::string(300, 'x') + " MESHES 0\nMESHES 1")));
}

TEST(ModelReader, RefusesWhatCannotBeReadAsAModel) {
    const std::pair<const char*, const char*> rows[] = {
        {"0, 0 1, 1", "0,, 0 1, 1"}, // one comma is skipped, not two
        // Keywords are case-sensitive.
        {"NAME tri", "name tri"},
        {"FACE NORMALS", "Face NORMALS"},
        // Counts below their least.
        {"MESHES 1", "MESHES 0"},
        {"MESHES 1", "MESHES -3"},
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

TEST(ModelReader, EmptyListsAndFurtherGeosets) {
    const Model noMaterials = loaded(replaced(
        replaced(kTriangleModel, "MATERIALS 2", "MATERIALS 0"), "0: wall.mat\n1: floor.mat\n", ""));
    EXPECT_EQ(noMaterials.numMaterials(), 0);
    EXPECT_EQ(noMaterials.numMeshes(), 1);
    EXPECT_EQ(loaded(replaced(kTriangleModel, "HIERARCHY NODES 1", "HIERARCHY NODES 0")).numNodes(),
              0);

    // Only the first geoset is read.
    const std::string second = "GEOSET 1\nMESHES 1\nMESH 0\nNAME lod1\nRADIUS 9\n"
                               "this geoset is never parsed 1 2 3\n";
    const Model lods =
        loaded(replaced(replaced(kTriangleModel, "GEOSETS 1", "GEOSETS 4"), "SECTION: HIERARCHYDEF",
                        second + second + second + "SECTION: HIERARCHYDEF"));
    EXPECT_EQ(lods.numGeosets, 4);
    ASSERT_EQ(lods.numMeshes(), 1);
    EXPECT_EQ(lods.meshes[0].name, "tri");
    EXPECT_EQ(lods.numNodes(), 1);
}

TEST(ModelReader, RealWorldShapesRead) {
    // Entry labels of any form, faces of many corners, hex flags of mixed widths, names with
    // leading zeros or upper-case extensions.
    std::string face = "face-0: 0 0x2 4 3 3 0.000000 24";
    for (int c = 0; c < 24; ++c)
        face += " " + std::to_string(c % 3) + "," + std::to_string(c % 3);
    std::string text = replaced(kTriangleModel, "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2", face);
    text = replaced(text, "0: 0 0 0 0", "vertex#0 0 0 0 0");
    text = replaced(text, "1: 1 0 0 0", "1 1 0 0 0");
    text = replaced(text, "root", "00root");
    text = replaced(text, "0: wall.mat", "0: 00wall.MAT");
    const Model model = loaded(text);
    EXPECT_EQ(model.meshes[0].vertices[1].x, 1);
    EXPECT_EQ(model.meshes[0].faces[0].numVertices(), 24);
    EXPECT_EQ(model.meshes[0].faces[0].type, "0x2");
    EXPECT_EQ(model.nodes[0].hnodename, "00root");
    EXPECT_EQ(model.materials[0].name, "00wall");
}

TEST(ModelReader, NamesAndWordsAreCutToTheirFields) {
    const Model model =
        loaded(replaced(replaced(replaced(kTriangleModel, "1: floor.mat", "1: dark"), "root",
                                 std::string(300, 'n')),
                        "0x0000 4 3 3", std::string(100, 't') + " 4 3 3"));
    EXPECT_EQ(model.materials[1].name, ""); // four characters: all extension
    EXPECT_EQ(model.nodes[0].hnodename, std::string(255, 'n'));
    EXPECT_EQ(model.meshes[0].faces[0].type, std::string(63, 't'));
    // A name too short to carry an extension is kept whole.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "1: floor.mat", "1: abc")).materials[1].name, "abc");
    EXPECT_EQ(loaded(replaced(kTriangleModel, "1: floor.mat", "1: .mat")).materials[1].name, "");
}

TEST(ModelReader, LoadsFromAPathWhateverTheExtensionsCase) {
    test::TempDir dir;
    EXPECT_TRUE(Model().load(dir.write("KNIGHT.3DO", kTriangleModel)));
    EXPECT_FALSE(Model().load((dir.path() / "absent.3do").string()));
    EXPECT_FALSE(Model().load(dir.path().string()));
}

} // namespace
} // namespace sw
