#include "model/Model.h"
#include "support/ModelText.h"
#include "support/Mutator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace sw {
namespace {

// Whatever the bytes, load answers true or false; what it accepted is well formed.
void expectCleanResult(const std::string& text) {
    Model model;
    std::istringstream in(text);
    if (!model.load(in))
        return;
    ASSERT_GE(model.numMeshes(), 1);
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.vertexNormals.size(), mesh.vertices.size());
        ASSERT_EQ(mesh.faceNormals.size(), mesh.faces.size());
        for (const Vertex& v : mesh.vertices)
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
        ASSERT_LE(mesh.name.size(), kMaxNameLength);
        for (const Face& face : mesh.faces)
            ASSERT_LE(face.type.size(), kMaxShortWordLength);
    }
    for (const HierarchyNode& node : model.nodes) {
        ASSERT_LE(node.flags.size(), kMaxShortWordLength);
        ASSERT_LE(node.hnodename.size(), kMaxNameLength);
    }
}

TEST(ModelReaderRobustness, MutatedModelsGiveACleanAnswer) {
    const std::string sample = test::readFile(std::string(SW_SAMPLES_DIR) + "/totem.3do");
    ASSERT_FALSE(sample.empty());
    test::Mutator mutator(20261205);
    for (const std::string* original : {&test::kTriangleModel, &sample}) {
        for (int i = 0; i < 3000; ++i) {
            SCOPED_TRACE(i);
            expectCleanResult(mutator.mutate(*original));
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(ModelReaderRobustness, ArbitraryBytesGiveACleanAnswer) {
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        std::string bytes(std::uniform_int_distribution<int>(0, 2000)(random), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        Model model;
        std::istringstream in(bytes);
        EXPECT_FALSE(model.load(in));
    }
}

} // namespace
} // namespace sw
