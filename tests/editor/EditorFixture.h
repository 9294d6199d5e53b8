#pragma once

#include "editor/UvEditor.h"
#include "model/Model.h"

#include "support/FakeMessageBox.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace sw::test {

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
