#include "model/Model.h"
#include "model/NumberText.h"

#include "support/ChildProcess.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

HierarchyNode node(int meshIndex, int parent, Vector3 o, Vector3 p = {}) {
    HierarchyNode n;
    std::tie(n.mesh, n.parent, n.x, n.y, n.z, n.pivotx, n.pivoty, n.pivotz) =
        std::tuple(meshIndex, parent, o.x, o.y, o.z, p.x, p.y, p.z);
    return n;
}

Mesh point(double x = 0, double y = 0, double z = 0) {
    return mesh({{x, y, z}}, {}, {});
}

// The texture vertices of a face's corners.
std::vector<int> corners(std::span<const VertexRef> refs) {
    std::vector<int> indices;
    for (const VertexRef& ref : refs)
        indices.push_back(ref.txvert);
    return indices;
}

class Preparation : public ::testing::Test {
protected:
    bool prepare(Model& m) { return m.prepare(textures.fn(), messages); }
    Model loaded(const std::string& text) {
        Model m;
        EXPECT_TRUE(loadText(text, m));
        EXPECT_TRUE(prepare(m));
        return m;
    }

    FakeTextures textures;
    FakeMessageBox messages;
    TempDir dir;
};
using Writer = Preparation;

TEST_F(Preparation, PlacesMeshesByTheHierarchyThenBoundsAndCentresThem) {
    // The pivot of the middle node reaches only its own mesh; the top node's offset reaches
    // only its own mesh too, so the grandchild sits at 1 + 1 + 0.5, not 12.5.
    Model m = model({}, {point(), point(), point(), point()},
                    {node(0, -1, {0, 0, 10}), node(1, 0, {0, 0, 1}, {5, 0, 0}),
                     node(2, 1, {0, 0, 1}, {0, 0, 0.5})});
    ASSERT_TRUE(prepare(m));

    std::vector<std::vector<double>> offsets;
    for (const Mesh& mesh : m.meshes)
        offsets.push_back({mesh.offset.x, mesh.offset.y, mesh.offset.z});
    // The last mesh is named by no node.
    EXPECT_EQ(offsets,
              (std::vector<std::vector<double>>{{0, 0, 10}, {5, 0, 1}, {0, 0, 2.5}, {0, 0, 0}}));
    // Bounds over the placed vertices, then every vertex centred.
    EXPECT_EQ((std::vector{m.xMax, m.zMax, m.center.z, m.meshes[2].glVerts[0].z}),
              (std::vector{5.0, 10.0, 5.0, -2.5}));
    EXPECT_DOUBLE_EQ(m.extent, std::sqrt(2.5 * 2.5 + 5 * 5));

    // Nodes with indices outside their lists, or looping parents, still place; a parent may
    // come after its child.
    Model loose = model({}, {point(), point(), point(), point()},
                        {node(0, 1, {1, 0, 0}), node(7, -1, {9, 9, 9}), // a mesh that is not there
                         node(1, 99, {0, 2, 0}), // a parent that is not there
                         node(2, 4, {0, 0, 3}),  // leads into a loop of nodes 4 and 6
                         node(-1, 6, {0, 0, 1}),
                         node(0, 3, {0, 0, 4}), // names mesh 0 again: the last node decides
                         node(-1, 4, {0, 0, 10}), node(3, 0, {})});
    ASSERT_TRUE(prepare(loose));
    EXPECT_EQ(std::tuple(loose.meshes[0].offset.z, loose.meshes[1].offset.y,
                         loose.meshes[2].offset.z, loose.meshes[3].offset.x),
              std::tuple(18.0, 2.0, 14.0, 1.0));

    Model one = model({}, {point(3, -4, 12)});
    ASSERT_TRUE(prepare(one));
    EXPECT_THAT((std::vector<double>{one.xMin, one.xMax, one.yMin, one.yMax, one.zMin, one.zMax,
                                     one.center.y, one.extent}),
                ElementsAre(3, 3, -4, -4, 12, 12, -4, 0));
    // Later vertices move each bound by less than one unit.
    Model two = model({}, {mesh({{0, 0, 0}, {0.5, 0.5, 0.5}, {-0.5, -0.5, -0.5}}, {}, {})});
    ASSERT_TRUE(prepare(two));
    EXPECT_THAT((std::vector<double>{two.xMin, two.xMax, two.yMin, two.yMax, two.zMin, two.zMax,
                                     two.extent}),
                ElementsAre(-0.5, 0.5, -0.5, 0.5, -0.5, 0.5, std::sqrt(0.75)));
    Model none = model({}, {mesh({}, {}, {})});
    ASSERT_TRUE(prepare(none));
    EXPECT_THAT((std::vector<double>{none.center.x, none.extent}), ElementsAre(0, -kHuge));
}

TEST_F(Preparation, TextureVertexSharedByMaterialsIsCopiedForEachAndNormalisedPerTexture) {
    textures.sizes = {{"narrow", {64, 32}}, {"wide", {128, 16}}};
    Model m = model(
        {"narrow", "wide"},
        {mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{0, 0}, {16, 0}, {32, -8}, {48, -8}},
              {face(0, {{0, 0}, {1, 1}, {2, 2}}), face(1, {{1, 2}, {2, 3}, {3, 1}})})});
    ASSERT_TRUE(prepare(m));
    const Mesh& mesh = m.meshes[0];

    // The lowest group keeps texture vertices 1 and 2; the other group gets copies 4 and 5.
    ASSERT_EQ(mesh.numTxverts(), 6);
    EXPECT_THAT(corners(mesh.faces[1].refs(mesh.corners)), ElementsAre(5, 3, 4));
    EXPECT_EQ((std::vector{mesh.txverts[4].u, mesh.txverts[5].u}), (std::vector{16.0, 32.0}));
    EXPECT_EQ((std::vector{mesh.glTxverts[1].u, mesh.glTxverts[4].u, mesh.glTxverts[2].v,
                           mesh.glTxverts[5].v}),
              (std::vector{0.25, 0.125, 0.25, 0.5}));
    ASSERT_EQ(mesh.numGlGroups(), 2);
    EXPECT_THAT(corners(mesh.glGroups[1].glFaces[0].refs), ElementsAre(5, 3, 4));

    // Copies are appended in order of texture vertex, then of group.
    Model three = model({"a", "b", "c"},
                        {test::mesh({{0, 0, 0}, {1, 0, 0}}, {{10, 0}, {11, 0}},
                                    {face(0, {{0, 0}, {1, 1}}), face(1, {{0, 1}, {1, 0}}),
                                     face(2, {{0, 0}, {1, 1}}), face(1, {{0, 0}, {1, 1}})})});
    ASSERT_TRUE(prepare(three));
    const Mesh& copied = three.meshes[0];
    // Texture vertex 0: copies 2 (group 1, once for both its faces) and 3 (group 2); vertex 1:
    // copies 4 and 5.
    EXPECT_THAT(corners(copied.faces[1].refs(copied.corners)), ElementsAre(4, 2));
    EXPECT_THAT(corners(copied.faces[2].refs(copied.corners)), ElementsAre(3, 5));
    ASSERT_EQ(copied.numTxverts(), 6);
    EXPECT_EQ((std::vector{copied.txverts[3].u, copied.txverts[4].u}), (std::vector{10.0, 11.0}));
}

TEST_F(Preparation, UntexturedGroupsAreNormalisedByTheirOwnExtent) {
    // Group 0 has no texture; group 1 names a material that is not in the list, and gets its
    // own untextured group; group 2's texture vertices reach no positive u and no negative v.
    Model m = model(
        {"missing"},
        {mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
              {{0, 0}, {32, 0}, {16, -8}, {-16, -16}, {-4, 2}, {-1e308, -1e-300}, {1e-300, 0}},
              {face(0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}), face(5, {{0, 5}, {1, 6}}),
               face(-1, {{0, 4}})})});
    ASSERT_TRUE(prepare(m));
    const Mesh& mesh = m.meshes[0];
    const auto uv = [&](std::size_t t) {
        return std::vector{mesh.glTxverts[t].u, mesh.glTxverts[t].v};
    };
    // A quotient beyond the doubles is held at the largest one.
    const double max = std::numeric_limits<double>::max();
    EXPECT_EQ((std::vector{uv(1), uv(2), uv(3), uv(4), uv(5)}),
              (std::vector<std::vector<double>>{{1, 0}, {0.5, 0.5}, {-0.5, 1}, {0, 0}, {-max, 1}}));

    ASSERT_EQ(mesh.numGlGroups(), 3);
    EXPECT_EQ(
        std::tuple(mesh.glGroups[1].material, mesh.glGroups[1].name, mesh.glGroups[2].material),
        std::tuple(5, "(material 5)", -1));
}

TEST_F(Preparation, MoreThanFiveHundredTwelveFacesInAMeshAreWarnedAbout) {
    const struct {
        std::vector<int> faces;
        int warnings;
    } rows[] = {{{512}, 0}, {{513}, 1}, {{513, 1, 600}, 2}};
    for (const auto& row : rows) {
        std::vector<Mesh> meshes;
        for (int count : row.faces)
            meshes.push_back(triangles(count));
        Model m = model({"a"}, std::move(meshes));
        messages.clear();
        ASSERT_TRUE(prepare(m));
        EXPECT_EQ(static_cast<int>(messages.shown().size()), row.warnings) << row.faces[0];
    }
    const FakeMessageBox::Shown& last = messages.shown().back();
    EXPECT_EQ(last, (FakeMessageBox::Shown{Window::Main,
                                           "Mesh mesh contains 600 surfaces.\n\nOnly 512 surfaces "
                                           "are allowed per mesh.\n\nThis 3do model will cause "
                                           "Jedi Knight to crash.",
                                           "WARNING", kMbOk}));
}

TEST_F(Preparation, CornersNamingMissingTextureVerticesShareOneAppendedOrigin) {
    // As in real files: no texture vertices at all, and the faces name vertex 0.
    Model m = model({"a"}, {mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {},
                                 {face(0, {{0, 0}, {1, 0}, {2, -3}}), face(0, {{0, 9}})})});
    ASSERT_TRUE(prepare(m));
    const Mesh& mesh = m.meshes[0];
    ASSERT_EQ(mesh.numTxverts(), 1);
    EXPECT_EQ(std::tuple(mesh.txverts[0].u, mesh.txverts[0].v), std::tuple(0.0, 0.0));
    EXPECT_THAT(corners(mesh.faces[0].refs(mesh.corners)), ElementsAre(0, 0, 0));
    EXPECT_THAT(corners(mesh.faces[1].refs(mesh.corners)), ElementsAre(0));
}

// Refused with the reason, before any texture is loaded or warning shown.
TEST_F(Preparation, FacesNamingMissingVerticesAndModelsBeyondTheDoublesAreRefused) {
    Model missingVertex =
        model({"a"}, {point(), mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}},
                                    {face(0, {{0, 0}}), face(0, {{1, 0}, {3, 0}})})});
    missingVertex.meshes[1].name = "head";
    const std::pair<Model, const char*> rows[] = {
        {missingVertex, "Face 1 of mesh 1 (head) names vertex 3, but the mesh has 3 vertices."},
        {model({"a"}, {point(1e308)}, {node(0, -1, {1e308, 0, 0})}),
         "Vertex 0 of mesh 0 (mesh) is placed too far from the origin."},
        {model({"a"}, {mesh({}, {}, {})}, {node(0, -1, {1e308, 0, 0}, {1e308, 0, 0})}),
         "The hierarchy places mesh 0 (mesh) too far from the origin."},
        {model({"a"}, {point(-1.5e308, -1.5e308), point(1.5e308, 1.5e308)}),
         "Vertex 0 of mesh 0 (mesh) lies too far from the centre of the model."},
    };
    for (auto [m, error] : rows) {
        EXPECT_FALSE(prepare(m));
        EXPECT_EQ(m.preparationError(), error);
    }
    EXPECT_TRUE(textures.calls.empty());
    EXPECT_TRUE(messages.shown().empty());

    Model large = model({}, {point(1e200, 1e200), point(-1e200)});
    ASSERT_TRUE(prepare(large));
    EXPECT_TRUE(std::isfinite(large.extent));
}

TEST_F(Preparation, AMeshMayUseMoreThanTwoHundredFiftySixMaterials) {
    std::vector<std::string> names;
    std::vector<FaceWithCorners> faces;
    for (int i = 0; i < 300; ++i) {
        names.push_back("m" + std::to_string(i));
        faces.push_back(face(299 - i, {{0, 0}}));
    }
    Model m = model(names, {mesh({{0, 0, 0}}, {{1, 1}}, faces)});
    ASSERT_TRUE(prepare(m));
    const Mesh& mesh = m.meshes[0];
    ASSERT_EQ(mesh.numGlGroups(), 300);
    EXPECT_EQ(std::tuple(mesh.glGroups[0].material, mesh.glGroups[299].name, mesh.faces[299].group,
                         mesh.numTxverts()),
              std::tuple(299, "m0", 299, 300));
}

// Each of three materials used by one group of one mesh, then the texture of a group changed.
TEST_F(Preparation, AGroupsNewTextureTakesOnlyASlotNoOtherGroupUsesAndFreedSlotsAreFilled) {
    Model m;
    const auto fresh = [&] {
        m = model({"a", "b", "c"},
                  {mesh({{0, 0, 0}}, {{0, 0}},
                        {face(0, {{0, 0}}), face(1, {{0, 0}}), face(2, {{0, 0}})})});
        const bool prepared = prepare(m);
        textures.calls.clear();
        return prepared;
    };
    const auto change = [&](int group, const std::string& fileName, const std::string& path) {
        m.changeGroupTexture(0, group, fileName, path, textures.fn(), messages);
    };
    const auto groupMaterials = [&] {
        std::vector<int> materials;
        for (const GlGroup& g : m.meshes[0].glGroups)
            materials.push_back(g.material);
        return materials;
    };
    ASSERT_TRUE(fresh());
    change(1, "new.mat", "D:/tex/new.mat");
    ASSERT_EQ(m.numMaterials(), 3);
    EXPECT_EQ(std::tuple(m.materials[1].name, m.meshes[0].glGroups[1].name),
              std::tuple("new", "new"));
    EXPECT_THAT(groupMaterials(), ElementsAre(0, 1, 2));

    // The file of material 2, in other letters: the group shares material 2, nothing uses
    // slot 1 any more, and material 2 moves there.
    change(1, "C.MAT", "DIR/MAT/C.MAT");
    ASSERT_EQ(m.numMaterials(), 2);
    EXPECT_THAT(groupMaterials(), ElementsAre(0, 1, 1));
    EXPECT_EQ(std::tuple(m.materials[1].name, m.meshes[0].glGroups[1].name), std::tuple("C", "C"));
    EXPECT_THAT(textures.calls, ElementsAre("D:/tex/new.mat", "DIR/MAT/C.MAT", "DIR/MAT/C.MAT"));

    // Saving writes each face with its group's material.
    m.buildOutput();
    EXPECT_EQ(m.meshes[0].outFaces[2].material, 1);

    // A material that several groups use, or one outside the list, is never taken or removed.
    ASSERT_TRUE(fresh());
    change(2, "a.mat", "dir/mat/a.MAT"); // now groups 0 and 2 share material 0
    ASSERT_EQ(m.numMaterials(), 2);      // material 2 was removed (it was the last)
    change(0, "d.mat", "x/d.mat");
    EXPECT_EQ(m.numMaterials(), 3);
    EXPECT_THAT(groupMaterials(), ElementsAre(2, 1, 0));

    // As prepared from faces naming material 7, which is not in the list: the group gets a
    // new material, not slot 7, and nothing is removed for it.
    m.meshes[0].glGroups[1].material = 7;
    change(1, "e.mat", "x/e.mat");
    EXPECT_EQ(m.numMaterials(), 4);
    m.meshes[0].glGroups[1].material = 7;
    change(1, "d.mat", "x/D.mat");
    EXPECT_EQ(m.numMaterials(), 4);
    EXPECT_THAT(groupMaterials(), ElementsAre(2, 2, 0));
}

// %g's own rules are the C library's; ours are its precision, an exponent of at least three
// digits, a negative zero kept, and a number for what printf would not write as one.
TEST(NumberText, RealsAreWrittenAsPercentGWithThreeExponentDigits) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const struct {
        double value;
        const char* text;
    } rows[] = {{0.00005, "5e-005"},
                {2e6, "2e+006"},
                {0, "0"},
                {-0.0, "-0"},
                {1234567, "1.23457e+006"},
                {1e-300, "1e-300"},
                {kMax, "1.79769e+308"},
                {std::numeric_limits<double>::infinity(), "1.79769e+308"},
                {-std::numeric_limits<double>::infinity(), "-1.79769e+308"},
                {std::numeric_limits<double>::quiet_NaN(), "0"}};
    char text[kMaxNumberText];
    for (const auto& row : rows)
        EXPECT_EQ(std::string(text, formatReal(row.value, text)), row.text) << row.value;
}

// Two materials, the first with a texture of 64 x 32, the second without one; faces of
// material 1, then 0, then 1 again, then of a material that is not listed, sharing texture
// vertices across their groups; texture vertex 4 is used by no face. Comments, labels and the
// second geoset are not carried over. Negative zeros, which real models hold, stay negative.
const std::string kSmallModel = dataFile("box.3do");

// The file saves to exactly the expected bytes, again to the same bytes, and reads back as a
// file layer that saves to them once more.
TEST_F(Writer, WritesTheLayoutByteForByteAndReadsItBack) {
    textures.sizes = {{"wall", {64, 32}}};
    Model m = loaded(kSmallModel);
    // The node's type was read as ",flag" (the reader skips one comma before a word), so it is
    // written with a comma more. Faces group by group, each with its own normal. The untextured
    // groups write the values of the file, the textured one its texels; a texture vertex that
    // groups shared is written once for each group.
    const std::string expected = dataFile("box-saved.3do");
    EXPECT_EQ(m.outputText(), expected);
    const std::string path = (dir.path() / "box.3do").string();
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(m.save(path));
        EXPECT_EQ(readFile(path), expected) << "save " << save;
    }
    Model again;
    ASSERT_TRUE(again.load(path));
    ASSERT_TRUE(prepare(again));
    EXPECT_EQ(again.outputText(), expected);
}

TEST_F(Writer, WritesEveryOwnTextureVertexOfAGroupUsedOrNot) {
    Model m =
        model({"a", "b"}, {mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{5, 0}, {6, 0}, {7, 0}, {8, 0}},
                                {face(0, {{0, 3}, {1, 1}}), face(1, {{2, 2}})})});
    ASSERT_TRUE(prepare(m));
    // The editor gave group 1 three texture vertices of its own, its face using one.
    GlGroup& own = m.meshes[0].glGroups[1];
    own.shared = false;
    own.ownTxverts = {{0.5, 0.25}, {1, 0}, {0, 1}};
    own.glFaces[0].refs[0].txvert = 2;
    const std::string text = m.outputText();
    // v turns back to the file's direction by its sign alone, so an edited 0 becomes -0.
    EXPECT_THAT(text, HasSubstr("\r\nTEXTURE VERTICES 5\r\n\r\n0: 8 0\r\n1: 6 0\r\n2: 0.5 -0.25\r\n"
                                "3: 1 -0\r\n4: 0 -1\r\n\r\n"));
    EXPECT_THAT(text, HasSubstr("\r\nFACES 2\r\n\r\n0: 0 0x0000 4 3 3 0 2 0, 0 1, 1\r\n"
                                "1: 1 0x0000 4 3 3 0 1 2, 4\r\n\r\n"));
}

TEST_F(Writer, AFailedSaveLeavesTheOldFileAndASavedOneKeepsItsModeAndOwner) {
    Model m = loaded(kSmallModel);
    const std::string path = dir.write("box.3do", "the old model");

    EXPECT_FALSE(m.save((dir.path() / "missing" / "box.3do").string()));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));

    // A disk that fills up part-way: writes beyond the limit fail.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = m.save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(path), "the old model");
    // Nothing is left behind beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // A save that succeeds keeps the old file's mode, and its owner and group where only root
    // could give them.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(m.save(path));
    EXPECT_THAT(readFile(path), HasSubstr("NAME box\r\n"));
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(std::tuple(now.st_uid, now.st_gid), std::tuple(65534u, 65534u));
    }
}

// Replacing a file takes only the folder's permission; saving must take the file's own.
TEST_F(Writer, AFileTheUserMayNotWriteStaysAsItWas) {
    Model m = loaded(kSmallModel);
    const std::string path = dir.write("box.3do", "the old model");
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
    std::filesystem::permissions(dir.path(), perms::all); // anyone may make files beside it

    const ChildResult child = runInChild([&]() -> std::string {
        if (const std::string why = becomeUnprivileged(); !why.empty())
            return "skip: " + why;
        if (const int fd = ::open(path.c_str(), O_WRONLY); fd >= 0) {
            ::close(fd);
            return "skip: this user may write any file";
        }
        return m.save(path) ? "saved" : m.saveError();
    });
    if (child.output.starts_with("skip: "))
        GTEST_SKIP() << child.output.substr(6);
    EXPECT_EQ(child.output, "The file there cannot be opened for writing: Permission denied.");
    EXPECT_EQ(readFile(path), "the old model");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace sw::test
