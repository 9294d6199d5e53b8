#include "model/ModelReader.h"
#include "model/Model.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sw {
namespace {

using test::kTriangleModel;
using test::replaced;

bool loadText(const std::string& text, Model& model) {
    std::istringstream in(text);
    return model.load(in);
}

bool loads(const std::string& text) {
    Model model;
    return loadText(text, model);
}

Model loaded(const std::string& text) {
    Model model;
    EXPECT_TRUE(loadText(text, model));
    return model;
}

std::vector<std::pair<int, int>> corners(const Face& face) {
    std::vector<std::pair<int, int>> result;
    for (const VertexRef& ref : face.refs)
        result.emplace_back(ref.vertex, ref.txvert);
    return result;
}

// Compares the whole file layer of two models.
void expectSameFileLayer(const Model& a, const Model& b) {
    EXPECT_EQ(a.version, b.version);
    EXPECT_EQ(a.radius, b.radius);
    EXPECT_EQ(a.insertOffset.z, b.insertOffset.z);
    ASSERT_EQ(a.numMaterials(), b.numMaterials());
    for (int i = 0; i < a.numMaterials(); ++i)
        EXPECT_EQ(a.materials[i].name, b.materials[i].name);
    ASSERT_EQ(a.numMeshes(), b.numMeshes());
    for (int m = 0; m < a.numMeshes(); ++m) {
        const Mesh& ma = a.meshes[m];
        const Mesh& mb = b.meshes[m];
        EXPECT_EQ(ma.name, mb.name);
        ASSERT_EQ(ma.numVertices(), mb.numVertices());
        for (int j = 0; j < ma.numVertices(); ++j) {
            EXPECT_EQ(ma.vertices[j].x, mb.vertices[j].x);
            EXPECT_EQ(ma.vertices[j].z, mb.vertices[j].z);
            EXPECT_EQ(ma.vertices[j].intensity, mb.vertices[j].intensity);
        }
        ASSERT_EQ(ma.numTxverts(), mb.numTxverts());
        for (int j = 0; j < ma.numTxverts(); ++j)
            EXPECT_EQ(ma.txverts[j].v, mb.txverts[j].v);
        ASSERT_EQ(ma.numFaces(), mb.numFaces());
        for (int k = 0; k < ma.numFaces(); ++k) {
            EXPECT_EQ(ma.faces[k].material, mb.faces[k].material);
            EXPECT_EQ(ma.faces[k].type, mb.faces[k].type);
            EXPECT_EQ(corners(ma.faces[k]), corners(mb.faces[k]));
        }
    }
    ASSERT_EQ(a.numNodes(), b.numNodes());
    for (int i = 0; i < a.numNodes(); ++i)
        EXPECT_EQ(a.nodes[i].hnodename, b.nodes[i].hnodename);
}

TEST(ModelReader, ReadsEveryFieldOfTheFileLayer) {
    const Model model = loaded(kTriangleModel);
    EXPECT_EQ(model.version, 2.1);
    ASSERT_EQ(model.numMaterials(), 2);
    EXPECT_EQ(model.materials[0].name, "wall");
    EXPECT_EQ(model.materials[1].name, "floor");
    EXPECT_EQ(model.radius, 0.5);
    EXPECT_EQ(model.insertOffset.z, -0.1);
    EXPECT_EQ(model.numGeosets, 1);
    ASSERT_EQ(model.numMeshes(), 1);
    const Mesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.name, "tri");
    EXPECT_EQ(mesh.radius, 1.5);
    EXPECT_EQ(mesh.geometryMode, 4);
    EXPECT_EQ(mesh.lightingMode, 3);
    EXPECT_EQ(mesh.textureMode, 3);
    ASSERT_EQ(mesh.numVertices(), 3);
    EXPECT_EQ(mesh.vertices[2].z, 0.25);
    EXPECT_EQ(mesh.vertices[2].intensity, 0.5);
    ASSERT_EQ(mesh.numTxverts(), 3);
    EXPECT_EQ(mesh.txverts[1].u, 64);
    EXPECT_EQ(mesh.txverts[2].v, -64);
    ASSERT_EQ(mesh.vertexNormals.size(), 3u);
    EXPECT_EQ(mesh.vertexNormals[0].z, 1);
    ASSERT_EQ(mesh.numFaces(), 1);
    const Face& face = mesh.faces[0];
    EXPECT_EQ(face.material, 1);
    EXPECT_EQ(face.type, "0x0000");
    EXPECT_EQ(face.geometryMode, 4);
    EXPECT_EQ(face.extraLight, 0);
    EXPECT_EQ(corners(face), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
    ASSERT_EQ(mesh.faceNormals.size(), 1u);
    ASSERT_EQ(model.numNodes(), 1);
    const HierarchyNode& node = model.nodes[0];
    EXPECT_EQ(node.flags, "0x0000");
    EXPECT_EQ(node.type, "0x00001");
    EXPECT_EQ(node.mesh, 0);
    EXPECT_EQ(node.parent, -1);
    EXPECT_EQ(node.hnodename, "root");
}

TEST(ModelReader, CornerCommaFormsGiveTheSamePairs) {
    for (const char* line : {"0,0 1,1 2,2", "0, 0 1, 1 2, 2", "0 ,0 1 ,1 2 ,2", "0 , 0 1 , 1 2 , 2",
                             "0,\t0\r\n1,1 2,2"}) {
        SCOPED_TRACE(line);
        const Model model = loaded(replaced(kTriangleModel, "0, 0 1, 1 2, 2", line));
        EXPECT_EQ(corners(model.meshes[0].faces[0]),
                  (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
    }
    EXPECT_FALSE(loads(replaced(kTriangleModel, "0, 0 1, 1", "0,, 0 1, 1")));
}

TEST(ModelReader, IntegersTakeTheirBaseFromTheirPrefix) {
    struct Row {
        const char* text;
        int value;
    };
    for (const Row row : {Row{"010", 8}, Row{"0x10", 16}, Row{"0X1f", 31}, Row{"-0x2", -2},
                          Row{"+7", 7}, Row{"0", 0}, Row{"00000", 0}}) {
        SCOPED_TRACE(row.text);
        const Model model = loaded(
            replaced(kTriangleModel, "GEOMETRYMODE 4", std::string("GEOMETRYMODE ") + row.text));
        EXPECT_EQ(model.meshes[0].geometryMode, row.value);
    }
    // Too large for an int, or no digits at all: the value cannot be extracted.
    for (const char* bad : {"99999999999", "-", "x1", "abc"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(
            loads(replaced(kTriangleModel, "GEOMETRYMODE 4", std::string("GEOMETRYMODE ") + bad)));
    }
}

TEST(ModelReader, RealsInTheFormsCommunityToolsWrite) {
    struct Row {
        const char* text;
        double value;
    };
    for (const Row row : {Row{".02", 0.02}, Row{"-0.000000", -0.0}, Row{"+1.5", 1.5},
                          Row{"1e-3", 0.001}, Row{"2.5E+2", 250}, Row{"7.", 7}, Row{"-.5", -0.5}}) {
        SCOPED_TRACE(row.text);
        const Model model =
            loaded(replaced(kTriangleModel, "RADIUS 1.5", std::string("RADIUS ") + row.text));
        EXPECT_EQ(model.meshes[0].radius, row.value);
    }
    for (const char* bad : {"1e999", "1e", ".", "nan", "inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(loads(replaced(kTriangleModel, "RADIUS 1.5", std::string("RADIUS ") + bad)));
    }
}

TEST(ModelReader, CommentsAndLineEndsBetweenAnyTwoTokensChangeNothing) {
    const Model plain = loaded(kTriangleModel);

    // A comment line between every two tokens (but not right after a comma glued to its
    // number: there the blanks after the comma belong to the next number).
    std::istringstream words(kTriangleModel);
    std::string commented;
    std::string word;
    while (words >> word) {
        commented += word;
        commented += word.back() == ',' ? " " : "\n# num: x: y: z: (a heading)\n";
    }
    SCOPED_TRACE("comments");
    expectSameFileLayer(plain, loaded(commented));

    std::string crlf;
    for (char c : kTriangleModel)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    SCOPED_TRACE("CR LF");
    expectSameFileLayer(plain, loaded(crlf));

    std::string tabs;
    for (char c : kTriangleModel)
        tabs += c == ' '    ? std::string("\t ")
                : c == '\n' ? std::string("  \t\n")
                            : std::string(1, c);
    SCOPED_TRACE("tabs and trailing blanks");
    expectSameFileLayer(plain, loaded(tabs));
}

TEST(ModelReader, ACommentStartsOnlyAtATokenAndTakesAtMost255Characters) {
    // "#" inside a word is part of the word.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "NAME tri#1")).meshes[0].name, "tri#1");
    // A comment right after a skipped comma is still a comment.
    EXPECT_EQ(
        corners(
            loaded(replaced(kTriangleModel, "1, 1 2, 2", "1,# note\n1 2, 2")).meshes[0].faces[0]),
        (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
    // The part of a comment line beyond 255 characters is read as words: here a second
    // "MESHES" keyword that the search then finds.
    const std::string shortComment = "# MESHES 0\nMESHES 1";
    const std::string longComment = "#" + std::string(300, 'x') + " MESHES 0\nMESHES 1";
    EXPECT_TRUE(loads(replaced(kTriangleModel, "MESHES 1", shortComment)));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "MESHES 1", longComment)));
}

TEST(ModelReader, KeywordsAreExactAndCaseSensitive) {
    EXPECT_FALSE(loads(replaced(kTriangleModel, "NAME tri", "name tri")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "FACE NORMALS", "Face NORMALS")));
    // Unknown words before a keyword are passed over.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "MYSTERY 12 NAME tri")).meshes[0].name,
              "tri");
}

TEST(ModelReader, CountsAtTheirLimits) {
    const Model noMaterials = loaded(replaced(
        replaced(kTriangleModel, "MATERIALS 2", "MATERIALS 0"), "0: wall.mat\n1: floor.mat\n", ""));
    EXPECT_EQ(noMaterials.numMaterials(), 0);
    EXPECT_EQ(noMaterials.numMeshes(), 1);

    const Model noNodes =
        loaded(replaced(kTriangleModel, "HIERARCHY NODES 1", "HIERARCHY NODES 0"));
    EXPECT_EQ(noNodes.numNodes(), 0);

    EXPECT_FALSE(loads(replaced(kTriangleModel, "MESHES 1", "MESHES 0")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "MESHES 1", "MESHES -3")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "VERTICES 3", "VERTICES -1")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "FACES 1", "FACES -1")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "4 3 3 0 3 0, 0", "4 3 3 0 -3 0, 0")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "MATERIALS 2", "MATERIALS -2")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "NODES 1", "NODES -1")));
    // A count far beyond what the file holds fails at the end of the data without claiming
    // memory for the count.
    EXPECT_FALSE(loads(replaced(kTriangleModel, "VERTICES 3", "VERTICES 2147483647")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "FACES 1", "FACES 2000000000")));
    EXPECT_FALSE(loads(replaced(kTriangleModel, "4 3 3 0 3 0, 0", "4 3 3 0 2000000000 0, 0")));
}

TEST(ModelReader, OnlyTheFirstGeosetIsRead) {
    const std::string second = "GEOSET 1\nMESHES 1\nMESH 0\nNAME lod1\nRADIUS 9\n"
                               "this geoset is never parsed 1 2 3\n";
    std::string text = replaced(kTriangleModel, "GEOSETS 1", "GEOSETS 4");
    text =
        replaced(text, "SECTION: HIERARCHYDEF", second + second + second + "SECTION: HIERARCHYDEF");
    const Model model = loaded(text);
    EXPECT_EQ(model.numGeosets, 4);
    ASSERT_EQ(model.numMeshes(), 1);
    EXPECT_EQ(model.meshes[0].name, "tri");
    EXPECT_EQ(model.numNodes(), 1);
}

TEST(ModelReader, EntryLabelsOfAnyFormAreIgnored) {
    std::string text = replaced(kTriangleModel, "0: 0 0 0 0", "vertex#0 0 0 0 0");
    text = replaced(text, "1: 1 0 0 0", "1 1 0 0 0");
    text = replaced(text, "0: 1 0x0000", "face-0: 1 0x0000");
    const Model model = loaded(text);
    EXPECT_EQ(model.meshes[0].vertices[1].x, 1);
    EXPECT_EQ(model.meshes[0].faces[0].material, 1);
}

TEST(ModelReader, NamesAndWordsKeepTheirTextWithinTheirFields) {
    const Model model = loaded(replaced(
        replaced(replaced(kTriangleModel, "0: wall.mat\n1: floor.mat", "0: 00wall.MAT\n1: dark"),
                 "root", std::string(300, 'n')),
        "0x0000 4 3 3", std::string(100, 't') + " 4 3 3"));
    EXPECT_EQ(model.materials[0].name, "00wall");
    EXPECT_EQ(model.materials[1].name, ""); // four characters: all extension
    EXPECT_EQ(model.nodes[0].hnodename, std::string(255, 'n'));
    EXPECT_EQ(model.meshes[0].faces[0].type, std::string(63, 't'));

    // A name too short to carry an extension is kept whole.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "1: floor.mat", "1: abc")).materials[1].name, "abc");
    EXPECT_EQ(loaded(replaced(kTriangleModel, "1: floor.mat", "1: .mat")).materials[1].name, "");
    // Any byte is an ordinary character of a word.
    EXPECT_EQ(loaded(replaced(kTriangleModel, "NAME tri", "NAME \xff\x01x")).meshes[0].name,
              "\xff\x01x");
}

TEST(ModelReader, FilesThatEndEarlyAreRefused) {
    // Every prefix that stops before the last node's name is incomplete.
    const auto lastName = kTriangleModel.rfind("root");
    for (std::size_t length = 0; length < lastName; ++length)
        ASSERT_FALSE(loads(kTriangleModel.substr(0, length))) << "prefix of length " << length;
    // A keyword that is the last token of the file counts as not found.
    EXPECT_FALSE(loads(kTriangleModel.substr(0, kTriangleModel.find("HIERARCHY NODES") + 15)));
    EXPECT_TRUE(loads(kTriangleModel.substr(0, lastName + 4)));
}

TEST(ModelReader, RealWorldShapesRead) {
    // Faces of many corners, hex flags of mixed widths, names with leading zeros.
    std::string face = "0: 0 0x2 4 3 3 0.000000 24";
    for (int c = 0; c < 24; ++c)
        face += " " + std::to_string(c % 3) + "," + std::to_string(c % 3);
    std::string text = replaced(kTriangleModel, "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2", face);
    text = replaced(text, "0x0000 0x00001 0", "0x0000 0x00001 0");
    text = replaced(text, "root", "00root");
    const Model model = loaded(text);
    EXPECT_EQ(model.meshes[0].faces[0].numVertices(), 24);
    EXPECT_EQ(model.meshes[0].faces[0].type, "0x2");
    EXPECT_EQ(model.nodes[0].hnodename, "00root");
}

TEST(ModelReader, LoadsFromAPathWhateverTheExtensionsCase) {
    test::TempDir dir;
    Model model;
    EXPECT_TRUE(model.load(dir.write("KNIGHT.3DO", kTriangleModel)));
    Model missing;
    EXPECT_FALSE(missing.load((dir.path() / "absent.3do").string()));
    Model folder;
    EXPECT_FALSE(folder.load(dir.path().string()));
}

TEST(ModelReader, SampleModelLoads) {
    Model model;
    ASSERT_TRUE(model.load(std::string(SW_SAMPLES_DIR) + "/totem.3do"));
    EXPECT_GE(model.numMeshes(), 3);
    EXPECT_GE(model.numMaterials(), 3);
}

} // namespace
} // namespace sw
