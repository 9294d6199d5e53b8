// Damaged models: load answers true or false without reading outside an array (the sanitizer
// build checks that), alike whether the text is read whole or streamed, and what it accepts is
// well formed; what it accepts prepares or is refused with a reason, keeps every coordinate
// finite, and saves to a file that reads back and saves again to the same bytes.

#include "model/Model.h"

#include "support/ChildProcess.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/Mutator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace sw::test {
namespace {

// Textures without files: decided by the first letter of the name, so that damaged names
// still give a mix of sizes and of materials without a texture.
void loadTexture(Material& material, const std::string&) {
    const char first = material.name.empty() ? '\0' : material.name[0];
    material.notLoaded = first != 's' && first != 'w';
    material.width = first == 's' ? 64 : first == 'w' ? 128 : 0;
    material.height = first == 's' ? 64 : first == 'w' ? 32 : 0;
}

bool finite(double x) {
    return std::isfinite(x);
}

// What the reader accepted keeps to the sizes of the game's buffers and its own lists.
void checkLoaded(const Model& model, const std::string& text) {
    ASSERT_GE(model.numMeshes(), 1) << text;
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.vertexNormals.size(), mesh.vertices.size()) << text;
        ASSERT_EQ(mesh.faceNormals.size(), mesh.faces.size()) << text;
        ASSERT_LE(mesh.name.size(), kMaxNameLength) << text;
        for (const Vertex& v : mesh.vertices)
            ASSERT_TRUE(finite(v.x) && finite(v.y) && finite(v.z)) << text;
        // The faces' corners follow one another through the mesh's corner list, which holds
        // nothing else.
        std::size_t corners = 0;
        for (const Face& face : mesh.faces) {
            ASSERT_LE(face.type.size(), kMaxShortWordLength) << text;
            ASSERT_EQ(face.refs(mesh.corners).data(), mesh.corners.data() + corners) << text;
            corners += face.refs(mesh.corners).size();
        }
        ASSERT_EQ(corners, mesh.corners.size()) << text;
    }
    for (const HierarchyNode& node : model.nodes) {
        ASSERT_LE(node.flags.size(), kMaxShortWordLength) << text;
        ASSERT_LE(node.hnodename.size(), kMaxNameLength) << text;
    }
}

// The invariants of a prepared model that the editor and the views rely on.
void checkPrepared(const Model& model, const std::string& text) {
    ASSERT_TRUE(finite(model.center.x) && finite(model.center.y) && finite(model.center.z) &&
                finite(model.extent))
        << text;
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.glVerts.size(), mesh.vertices.size()) << text;
        ASSERT_EQ(mesh.glTxverts.size(), mesh.txverts.size()) << text;
        for (const GlVert& v : mesh.glVerts)
            ASSERT_TRUE(finite(v.x) && finite(v.y) && finite(v.z)) << text;
        for (const GlTxvert& t : mesh.glTxverts)
            ASSERT_TRUE(finite(t.u) && finite(t.v)) << text;
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
    std::string vertices;
    std::string normals;
    for (int j = 0; j < kVertices; ++j) {
        vertices += "v 0 0 0 0\n";
        normals += "n 0 0 1\n";
    }
    std::string text =
        replaced(kTriangleModel, "VERTICES 3\n0: 0 0 0 0\n1: 1 0 0 0\n2: 0 1 0.25 0.5\n",
                 "VERTICES " + std::to_string(kVertices) + "\n" + vertices);
    text = replaced(text, "VERTEX NORMALS\n0: 0 0 1\n1: 0 0 1\n2: 0 0 1\n",
                    "VERTEX NORMALS\n" + normals);
    TempDir dir;
    const std::string path = dir.write("huge.3do", text);
    std::string().swap(text);
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
