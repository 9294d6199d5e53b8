#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"

#include "support/Fakes.h"
#include "support/GlPixels.h"
#include "support/ModelText.h"

#include <GL/gl.h>
#include <gmock/gmock.h>

#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace sw::test {
namespace {

using Uv = std::pair<double, double>;

// The fan model, prepared, with an editor on one of its groups.
class Editing : public ::testing::Test {
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

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Box = FakeMessageBox::Shown;

// One step of a row: an editor operation with its two numbers, or a texture vertex of the mesh
// placed (its u) or selected.
using Op = void (*)(UvEditor&, Model&, double, double);
struct Act {
    Op op;
    double a = 0, b = 0;
};

GlTxvert& shared(Model& m, double t) {
    return m.meshes[0].glTxverts[static_cast<std::size_t>(t)];
}
const Op Place = [](UvEditor&, Model& m, double t, double u) { shared(m, t).u = u; };
const Op Select = [](UvEditor&, Model& m, double t, double) { shared(m, t).selected = true; };
const Op Click = [](UvEditor& e, Model& m, double u, double v) { e.toggleAt(m, u, v); };
const Op Begin = [](UvEditor& e, Model&, double u, double v) { e.beginRect(u, v); };
const Op Drag = [](UvEditor& e, Model&, double du, double dv) { e.dragRect(du, dv); };
const Op End = [](UvEditor& e, Model& m, double, double) { e.endRect(m); };
const Op ScaleU = [](UvEditor& e, Model& m, double f, double) { e.scaleU(m, f); };
const Op ScaleV = [](UvEditor& e, Model& m, double f, double) { e.scaleV(m, f); };
const Op Move = [](UvEditor& e, Model& m, double du, double dv) { e.moveSelection(m, du, dv); };

void perform(UvEditor& editor, Model& model, const std::vector<Act>& acts) {
    for (const Act& act : acts)
        act.op(editor, model, act.a, act.b);
}

struct SelectionRow {
    const char* what;
    std::vector<Act> acts;
    std::vector<int> selected;
};

// Each row starts from the fan with nothing selected (middle 0.5, 0.5; corners 1 to 4 at
// (0,0), (1,0), (1,1), (0,1)) and names the shared texture vertices selected afterwards. A
// vertex is picked by a click within 0.003 of it, or by a rectangle that has it strictly
// inside; each vertex flips once, however many faces use it.
TEST_F(Editing, SelectionFlipsEachVertexOnce) {
    const SelectionRow rows[] = {
        {"a click exactly 0.003 away misses", {{Place, 0, 0.403}, {Click, 0.4, 0.5}}, {}},
        {"a click 0.0029 away flips the vertex of four faces", {{Click, 0.4971, 0.5029}}, {0}},
        {"a rectangle inverts what lies inside it",
         {{Click, 0, 0}, {Begin, -0.1, -0.1}, {Drag, 0.3, 0.3}, {Drag, 0.4, 0.4}, {End}},
         {0}},
        {"a rectangle dragged back past its anchor",
         {{Begin, 1.1, 1.1}, {Drag, -0.7, -0.7}, {End}},
         {0, 3}},
        {"a vertex on the border stays", {{Begin, 0.5, 0.2}, {Drag, 0.6, 0.6}, {End}}, {}},
        {"a rectangle without height", {{Begin, -0.1, 0.5}, {Drag, 1.2, 0}, {End}}, {}},
        {"both vertices under one click", {{Place, 2, 0.001}, {Click, 0, 0}}, {1, 2}},
        {"a second click flips them back", {{Place, 2, 0.001}, {Click, 0, 0}, {Click, 0, 0}}, {}},
    };
    for (const SelectionRow& row : rows) {
        SetUp();
        UvEditor editor = editorOf(0);
        perform(editor, model, row.acts);
        EXPECT_EQ(selected(), row.selected) << row.what;
        EXPECT_FALSE(editor.rectActive) << row.what;
    }
}

TEST_F(Editing, OnlyTheEditedGroupsVerticesCountForTheSelection) {
    UvEditor quad = editorOf(1);
    quad.selectAll(model);
    ASSERT_EQ(selected(), (std::vector<int>{5, 6, 7, 8}));

    const UvEditor fan = editorOf(0);
    EXPECT_FALSE(fan.hasSelection(model, messages));
    EXPECT_THAT(messages.shown(),
                ElementsAre(Box{Window::Controls,
                                "You must make a selection first.\nDrag a rectangle or click on "
                                "individual vertices to make a selection.",
                                "Skinweaver 1.1", kMbOk}));
    select({4});
    EXPECT_TRUE(fan.hasSelection(model, messages));
    EXPECT_EQ(messages.shown().size(), 1U);
}

// The quad's corners A (0,0,0), B (2,0,0), C (2,1,4) and D (0,0.5,4) projected from each side
// and stretched over the texture: four own texture vertices, numbered A, B, C, D as the faces
// first use them.
TEST_F(Editing, RemapFromEachSideFillsTheTextureOnceWithOneVertexPerCorner) {
    using enum RemapDirection;
    const std::pair<RemapDirection, std::vector<Uv>> rows[] = {
        {Front, {{1, 0}, {0, 0}, {0, 1}, {1, 1}}},  {Back, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
        {Top, {{0, 0}, {1, 0}, {1, 1}, {0, 0.5}}},  {Bottom, {{1, 0}, {0, 0}, {0, 1}, {1, 0.5}}},
        {Left, {{0, 0}, {0, 0}, {1, 1}, {0.5, 1}}}, {Right, {{1, 0}, {1, 0}, {0, 1}, {0.5, 1}}}};
    for (const auto& [direction, own] : rows) {
        SetUp();
        UvEditor editor = editorOf(1);
        ASSERT_TRUE(editor.autoRemap(model, direction, messages));
        EXPECT_FALSE(group(1).shared);
        EXPECT_EQ(uvs(1), own) << static_cast<int>(direction);
        const auto& refs = group(1).glFaces[1].refs;
        EXPECT_EQ((std::vector{refs[0].txvert, refs[1].txvert, refs[2].txvert}),
                  (std::vector{0, 2, 3}));
        EXPECT_EQ(editor.halfExtent, 0.5);
    }
    EXPECT_TRUE(messages.shown().empty());

    // All vertices on one line stay finite.
    SetUp();
    for (Vertex& vertex : mesh().vertices)
        vertex.z = 7;
    UvEditor editor = editorOf(1);
    ASSERT_TRUE(editor.autoRemap(model, Front, messages));
    EXPECT_EQ(uvs(1), (std::vector<Uv>{{1, 0}, {0, 0}, {0, 0}, {1, 0}}));
}

TEST_F(Editing, TheFirstRemapDetachesAndClearsLaterOnesKeepTheSelection) {
    select({0, 1, 2, 3, 4});
    UvEditor editor = editorOf(0);
    ASSERT_TRUE(editor.autoRemap(model, RemapDirection::Front, messages));
    // The middle, then the corners at x -1 and 1, z 0 and 4, in the order the faces use them.
    EXPECT_EQ(uvs(0), (std::vector<Uv>{{0.5, 0.5}, {1, 0}, {0, 0}, {0, 1}, {1, 1}}));
    EXPECT_TRUE(selected(0).empty());
    EXPECT_TRUE(selected().empty());

    select({1, 3}, 0);
    ASSERT_TRUE(editor.autoRemap(model, RemapDirection::Back, messages));
    EXPECT_EQ(uvs(0), (std::vector<Uv>{{0.5, 0.5}, {0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(selected(0), (std::vector<int>{1, 3}));

    // The fan's own vertices no longer follow the shared ones.
    const std::vector<Uv> shared = uvs();
    UvEditor quad = editorOf(1);
    quad.selectAll(model);
    quad.moveSelection(model, 1, 1);
    EXPECT_EQ(uvs(0), (std::vector<Uv>{{0.5, 0.5}, {0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(uvs()[0], shared[0]);
}

// The saved texture vertices are the group's own, in texels of its texture (the fan's 64 x 64
// one) or as they are for the untextured quad, and the faces name them. The file's v is the
// negative of the stored one, so a v of 0 is written as printf writes negative zero.
TEST_F(Editing, ARemappedGroupIsSavedFromItsOwnVertices) {
    UvEditor fan = editorOf(0);
    ASSERT_TRUE(fan.autoRemap(model, RemapDirection::Front, messages));
    UvEditor quad = editorOf(1);
    ASSERT_TRUE(quad.autoRemap(model, RemapDirection::Top, messages));
    EXPECT_THAT(
        model.outputText(),
        HasSubstr("TEXTURE VERTICES 9\r\n\r\n0: 32 -32\r\n1: 64 -0\r\n2: 0 -0\r\n3: 0 -64\r\n"
                  "4: 64 -64\r\n5: 0 -0\r\n6: 1 -0\r\n7: 1 -1\r\n8: 0 -0.5\r\n\r\n"));
}

struct TransformRow {
    const char* what;
    std::vector<Act> acts;
    Uv first, third, middle;
};

// The fan's vertices 1 (0.25, 0.25) and 3 (0.75, 1) are selected, the others not. Scaling is
// about the middle of the selection, each axis about its own; every vertex moves once.
TEST_F(Editing, ScalesAboutTheMiddleOfTheSelectionAndMovesEachVertexOnce) {
    const TransformRow rows[] = {
        {"u by -1", {{ScaleU, -1}}, {0.75, 0.25}, {0.25, 1}, {0.5, 0.5}},
        {"u by 0", {{ScaleU, 0}}, {0.5, 0.25}, {0.5, 1}, {0.5, 0.5}},
        {"v by 3", {{ScaleV, 3}}, {0.25, -0.5}, {0.75, 1.75}, {0.5, 0.5}},
        {"u and v by 2", {{ScaleU, 2}, {ScaleV, 2}}, {0, -0.125}, {1, 1.375}, {0.5, 0.5}},
        {"moved", {{Move, 0.125, -0.25}}, {0.375, 0}, {0.875, 0.75}, {0.5, 0.5}},
        {"the vertex of four faces moved",
         {{Select, 0}, {Move, 0.125, -0.25}},
         {0.375, 0},
         {0.875, 0.75},
         {0.625, 0.25}},
    };
    for (const TransformRow& row : rows) {
        SetUp();
        place({{1, {0.25, 0.25}}, {3, {0.75, 1}}});
        select({1, 3});
        UvEditor editor = editorOf(0);
        perform(editor, model, row.acts);
        EXPECT_EQ((std::vector{uvs()[1], uvs()[3], uvs()[0], uvs()[2]}),
                  (std::vector{row.first, row.third, row.middle, Uv(1, 0)}))
            << row.what;
    }
}

TEST_F(Editing, TheViewFollowsTheVertices) {
    select({1, 2, 3, 4});
    UvEditor editor = editorOf(0);
    editor.scaleU(model, 3);
    EXPECT_EQ((std::vector{editor.minU, editor.maxU, editor.centreU, editor.halfExtent}),
              (std::vector{-1.0, 2.0, 0.5, 1.5}));
    // Merged onto one point, the view shows a small square around it.
    editor.selectAll(model);
    editor.scaleU(model, 0);
    editor.scaleV(model, 0);
    EXPECT_EQ((std::vector{editor.halfExtent, editor.shownHalfExtent(), editor.centreU}),
              (std::vector{0.0, 0.05, 0.5}));
}

constexpr int kSize = 100;

// Frames of the texture view of the fan's group, drawn as the program draws them, with the
// group's texture replaced by a 2 x 2 one.
class TextureView : public Editing {
protected:
    void SetUp() override {
        Editing::SetUp();
        gl_ = HeadlessGl::create(kSize, kSize);
        ASSERT_NE(gl_, nullptr) << "no headless GL context";
        initGlState();
    }

    void useTexture(const std::array<Rgb, 4>& texels) { model.materials[0] = textured(texels); }

    void frame(const UvEditor& editor) {
        editor_.emplace(editor);
        beginFrame();
        editor.setProjection(kSize, kSize);
        editor.draw(model);
        glFinish();
        pixels_ = gl_->readPixels();
    }

    // The pixel that shows texture coordinates (u, v) in the last frame, or the brightest of
    // it and the pixels around it up to `reach` away.
    Rgb at(double u, double v, int reach = 0) const {
        const double half = editor_->shownHalfExtent();
        const auto x =
            static_cast<int>(std::floor((u - editor_->centreU + half) / (2 * half) * kSize));
        const auto y =
            static_cast<int>(std::floor((v - editor_->centreV + half) / (2 * half) * kSize));
        return brightest(pixels_, kSize, x - reach, y - reach, x + reach, y + reach);
    }

    std::unique_ptr<HeadlessGl> gl_;
    std::vector<std::uint8_t> pixels_;
    std::optional<UvEditor> editor_;
};

// Red, green, blue and white texels tell which part of the image shows where.
TEST_F(TextureView, TilesTheTextureOverEveryCellTheVerticesReach) {
    useTexture({kRed, kGreen, kBlue, kWhite});
    place({{2, {2.5, 0}}, {3, {2.5, 1}}});
    frame(editorOf(0)); // u 0 to 2.5; v -0.75 to 1.75
    EXPECT_COLOUR(at(2.25, -0.25), kBlue);
    EXPECT_COLOUR(at(2.25, 1.25), kRed);
    EXPECT_COLOUR(at(0.75, 1.25), kGreen);
    EXPECT_COLOUR(at(0.2, 0.6), kBlue);
    EXPECT_COLOUR(at(0, -0.75), kRed); // the first pixel of the view
}

TEST_F(TextureView, DrawsPointsByTheirSelectionAndTheRectangleOnTop) {
    useTexture({kBlack, kBlack, kBlack, kBlack});
    place({{1, {0.25, 0.25}}});
    group(0).glFaces[0].refs.push_back({3, 3}); // a quad, whose side 1-2 no other face has
    select({0});
    UvEditor editor = editorOf(0); // the unit square
    // Its sides on the middles of pixel rows and columns.
    editor.beginRect(0.605, 0.205);
    editor.dragRect(0.3, 0.1);
    frame(editor);
    EXPECT_COLOUR(at(0.5, 0.5), kGreen);
    EXPECT_COLOUR(at(0.25, 0.25), kRed);
    EXPECT_COLOUR(at(0.7, 0.205, 1), kGreen);
    EXPECT_COLOUR(at(0.905, 0.25, 1), kGreen);
    EXPECT_COLOUR(at(0.85, 0.25), kBlack);
    // The outline of a face, between the middle and a corner.
    EXPECT_COLOUR(at(0.7, 0.7, 1), kWhite);
    EXPECT_COLOUR(at(0.85, 0.05, 1), kWhite);
}

TEST_F(TextureView, AGroupOnOnePointShowsTheTextureAroundIt) {
    useTexture({kRed, kGreen, kBlue, kWhite});
    place({{0, {0.3, 0.7}}, {1, {0.3, 0.7}}, {2, {0.3, 0.7}}, {3, {0.3, 0.7}}, {4, {0.3, 0.7}}});
    frame(editorOf(0));
    EXPECT_COLOUR(at(0.3, 0.7), kRed);
    EXPECT_COLOUR(at(0.26, 0.74), kBlue);
    EXPECT_COLOUR(at(0.34, 0.66), kBlue);
}

} // namespace
} // namespace sw::test
