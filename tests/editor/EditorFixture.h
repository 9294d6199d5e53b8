#pragma once

#include "editor/UvEditor.h"
#include "model/Model.h"

#include "support/FakeMessageBox.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace sw::test {

// One mesh, two groups. Group 0 ("wall", a 64 x 64 texture): a fan of four triangles around
// vertex 0, its texture vertices 0 to 4 at the middle and the corners of the texture, so that
// vertex 0 belongs to four faces and each corner to two. Group 1 ("floor", untextured): a quad
// of two triangles over vertices 5 to 8, spanning 2 in x and 1 in y, lifted in z on one side.
inline const std::string kFanModel = R"(SECTION: HEADER
3DO 2.1
SECTION: MODELRESOURCE
MATERIALS 2
0: wall.mat
1: floor.mat
SECTION: GEOMETRYDEF
RADIUS 5
INSERT OFFSET 0 0 0
GEOSETS 1
GEOSET 0
MESHES 1
MESH 0
NAME fan
RADIUS 5
GEOMETRYMODE 4
LIGHTINGMODE 3
TEXTUREMODE 3
VERTICES 9
0: 0 0 2 0
1: -1 0 0 0
2: 1 0 0 0
3: 1 0 4 0
4: -1 0 4 0
5: 0 0 0 0
6: 2 0 0 0
7: 2 1 4 0
8: 0 0.5 4 0
TEXTURE VERTICES 9
0: 32 -32
1: 0 0
2: 64 0
3: 64 -64
4: 0 -64
5: 0 0
6: 1 0
7: 1 1
8: 0 1
VERTEX NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
3: 0 0 1
4: 0 0 1
5: 0 0 1
6: 0 0 1
7: 0 0 1
8: 0 0 1
FACES 6
0: 0 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2
1: 0 0x0000 4 3 3 0 3 0, 0 2, 2 3, 3
2: 0 0x0000 4 3 3 0 3 0, 0 3, 3 4, 4
3: 0 0x0000 4 3 3 0 3 0, 0 4, 4 1, 1
4: 1 0x0000 4 3 3 0 3 5, 5 6, 6 7, 7
5: 1 0x0000 4 3 3 0 3 5, 5 7, 7 8, 8
FACE NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
3: 0 0 1
4: 0 0 1
5: 0 0 1
SECTION: HIERARCHYDEF
HIERARCHY NODES 1
0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 root
)";

using Uv = std::pair<double, double>;

// The fan model, prepared, with an editor on one of its groups.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FakeTextures textures;
        textures.sizes["wall"] = {64, 64};
        ASSERT_TRUE(loadText(kFanModel, model));
        ASSERT_TRUE(model.prepare(textures.fn(), messages));
        messages.clear();
    }

    Mesh& mesh() { return model.meshes[0]; }
    GlGroup& group(int g) { return mesh().glGroups[static_cast<std::size_t>(g)]; }
    UvEditor editorOf(int g) { return UvEditor(model, 0, g); }

    // Texture vertices of the mesh's shared array, or of a group's own one.
    std::vector<GlTxvert>& txverts(int ownOf = -1) {
        return ownOf < 0 ? mesh().glTxverts : group(ownOf).ownTxverts;
    }
    void place(const std::vector<std::pair<int, Uv>>& positions) {
        for (const auto& [t, uv] : positions) {
            txverts()[static_cast<std::size_t>(t)].u = uv.first;
            txverts()[static_cast<std::size_t>(t)].v = uv.second;
        }
    }
    std::vector<Uv> uvs(int ownOf = -1) {
        std::vector<Uv> all;
        for (const GlTxvert& t : txverts(ownOf))
            all.emplace_back(t.u, t.v);
        return all;
    }
    std::vector<int> selected(int ownOf = -1) {
        std::vector<int> indices;
        for (std::size_t i = 0; i < txverts(ownOf).size(); ++i)
            if (txverts(ownOf)[i].selected)
                indices.push_back(static_cast<int>(i));
        return indices;
    }
    void select(const std::vector<int>& indices, int ownOf = -1) {
        for (int i : indices)
            txverts(ownOf)[static_cast<std::size_t>(i)].selected = true;
    }

    Model model;
    FakeMessageBox messages;
};

} // namespace sw::test
