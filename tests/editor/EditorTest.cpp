#include "EditorFixture.h"

#include <gmock/gmock.h>

#include <functional>

namespace sw {
namespace {

using test::EditorFixture;
using test::Uv;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Box = test::FakeMessageBox::Shown;

class Selection : public EditorFixture {};

// Each row starts from the fan with nothing selected (middle 0.5, 0.5; corners 1 to 4 at
// (0,0), (1,0), (1,1), (0,1)) and names the shared texture vertices selected afterwards.
TEST_F(Selection, ClicksRectanglesAndButtonsFlipEachVertexOnce) {
    const struct {
        const char* what;
        std::function<void(UvEditor&, Model&)> act;
        std::vector<int> selected;
    } rows[] = {
        {"a click exactly 0.003 away misses",
         [](UvEditor& e, Model& m) {
             m.meshes[0].glTxverts[0].u = 0.4 + 0.003;
             e.toggleAt(m, 0.4, 0.5);
         },
         {}},
        {"a click 0.0029 away flips the vertex of four faces once",
         [](UvEditor& e, Model& m) { e.toggleAt(m, 0.5 - 0.0029, 0.5 + 0.0029); },
         {0}},
        {"two vertices under one click both flip",
         [](UvEditor& e, Model& m) {
             m.meshes[0].glTxverts[1] = {0.501, 0.5};
             e.toggleAt(m, 0.5, 0.5);
         },
         {0, 1}},
        {"a second click flips them back",
         [](UvEditor& e, Model& m) {
             m.meshes[0].glTxverts[1] = {0.501, 0.5};
             e.toggleAt(m, 0.5, 0.5);
             e.toggleAt(m, 0.5, 0.5);
         },
         {}},
        {"a rectangle inverts what lies inside it",
         [](UvEditor& e, Model& m) {
             e.toggleAt(m, 0, 0);
             e.beginRect(-0.1, -0.1);
             e.dragRect(0.3, 0.3);
             e.dragRect(0.4, 0.4);
             e.endRect(m);
         },
         {0}},
        {"a rectangle dragged back past its anchor",
         [](UvEditor& e, Model& m) {
             e.beginRect(1.1, 1.1);
             e.dragRect(-0.7, -0.7);
             e.endRect(m);
         },
         {0, 3}},
        {"a vertex on the border stays",
         [](UvEditor& e, Model& m) {
             e.beginRect(0.5, 0.2);
             e.dragRect(0.6, 0.6);
             e.endRect(m);
         },
         {}},
        {"a rectangle without height flips nothing",
         [](UvEditor& e, Model& m) {
             e.beginRect(-0.1, 0.5);
             e.dragRect(1.2, 0);
             e.endRect(m);
         },
         {}},
        {"inv flips each vertex once",
         [](UvEditor& e, Model& m) { e.invertSelection(m); },
         {0, 1, 2, 3, 4}},
        {"all", [](UvEditor& e, Model& m) { e.selectAll(m); }, {0, 1, 2, 3, 4}},
        {"none",
         [](UvEditor& e, Model& m) {
             e.selectAll(m);
             e.selectNone(m);
         },
         {}},
    };
    for (const auto& row : rows) {
        SetUp();
        UvEditor editor = editorOf(0);
        row.act(editor, model);
        EXPECT_EQ(selected(), row.selected) << row.what;
        EXPECT_FALSE(editor.rectActive) << row.what;
    }
}

TEST_F(Selection, OnlyTheEditedGroupsVerticesCount) {
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

class Remap : public EditorFixture {};

// The quad's corners A (0,0,0), B (2,0,0), C (2,1,4) and D (0,0.5,4) projected from each side
// and stretched over the texture: four own texture vertices, numbered A, B, C, D as the faces
// first use them.
TEST_F(Remap, EachSideFillsTheTextureOnceWithOneVertexPerCorner) {
    const struct {
        RemapDirection direction;
        std::vector<Uv> own;
    } rows[] = {
        {RemapDirection::Front, {{1, 0}, {0, 0}, {0, 1}, {1, 1}}},
        {RemapDirection::Back, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
        {RemapDirection::Top, {{0, 0}, {1, 0}, {1, 1}, {0, 0.5}}},
        {RemapDirection::Bottom, {{1, 0}, {0, 0}, {0, 1}, {1, 0.5}}},
        {RemapDirection::Left, {{0, 0}, {0, 0}, {1, 1}, {0.5, 1}}},
        {RemapDirection::Right, {{1, 0}, {1, 0}, {0, 1}, {0.5, 1}}},
    };
    for (const auto& row : rows) {
        SetUp();
        UvEditor editor = editorOf(1);
        ASSERT_TRUE(editor.autoRemap(model, row.direction, messages));
        EXPECT_FALSE(group(1).shared);
        EXPECT_EQ(uvs(1), row.own) << static_cast<int>(row.direction);
        EXPECT_EQ(group(1).glFaces[1].refs[0].txvert, 0);
        EXPECT_EQ(group(1).glFaces[1].refs[1].txvert, 2);
        EXPECT_EQ(group(1).glFaces[1].refs[2].txvert, 3);
        EXPECT_EQ(editor.halfExtent, 0.5);
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Remap, TheFirstRemapDetachesAndClearsLaterOnesKeepTheSelection) {
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

TEST_F(Remap, AllVerticesOnOneLineStayFinite) {
    for (Vertex& vertex : mesh().vertices)
        vertex.z = 7;
    UvEditor editor = editorOf(1);
    ASSERT_TRUE(editor.autoRemap(model, RemapDirection::Front, messages));
    EXPECT_EQ(uvs(1), (std::vector<Uv>{{1, 0}, {0, 0}, {0, 0}, {1, 0}}));
}

// The saved texture vertices are the group's own, in texels of its texture (the fan's 64 x 64
// one) or as they are for the untextured quad, and the faces name them. The file's v is the
// negative of the stored one, so a v of 0 is written as printf writes negative zero.
TEST_F(Remap, ARemappedGroupIsSavedFromItsOwnVertices) {
    UvEditor fan = editorOf(0);
    ASSERT_TRUE(fan.autoRemap(model, RemapDirection::Front, messages));
    UvEditor quad = editorOf(1);
    ASSERT_TRUE(quad.autoRemap(model, RemapDirection::Top, messages));
    const std::string text = model.outputText();
    EXPECT_NE(text.find("TEXTURE VERTICES 9\r\n\r\n0: 32 -32\r\n1: 64 -0\r\n2: 0 -0\r\n3: 0 -64\r\n"
                        "4: 64 -64\r\n5: 0 -0\r\n6: 1 -0\r\n7: 1 -1\r\n8: 0 -0.5\r\n"),
              std::string::npos)
        << text;
}

class Transform : public EditorFixture {};

// The fan's vertices 1 (0.25, 0.25) and 3 (0.75, 1) are selected, the others not.
TEST_F(Transform, ScalesAboutTheMiddleOfTheSelectionAndMovesEachVertexOnce) {
    const struct {
        const char* what;
        std::function<void(UvEditor&, Model&)> act;
        Uv first, third, middle;
    } rows[] = {
        {"u by -1",
         [](UvEditor& e, Model& m) { e.scaleU(m, -1); },
         {0.75, 0.25},
         {0.25, 1},
         {0.5, 0.5}},
        {"u by 0",
         [](UvEditor& e, Model& m) { e.scaleU(m, 0); },
         {0.5, 0.25},
         {0.5, 1},
         {0.5, 0.5}},
        {"v by 3",
         [](UvEditor& e, Model& m) { e.scaleV(m, 3); },
         {0.25, -0.5},
         {0.75, 1.75},
         {0.5, 0.5}},
        {"u and v by 2, each about its own middle",
         [](UvEditor& e, Model& m) {
             e.scaleU(m, 2);
             e.scaleV(m, 2);
         },
         {0, -0.125},
         {1, 1.375},
         {0.5, 0.5}},
        {"moved",
         [](UvEditor& e, Model& m) { e.moveSelection(m, 0.125, -0.25); },
         {0.375, 0},
         {0.875, 0.75},
         {0.5, 0.5}},
        {"the vertex of four faces moved",
         [](UvEditor& e, Model& m) {
             m.meshes[0].glTxverts[0].selected = true;
             e.moveSelection(m, 0.125, -0.25);
         },
         {0.375, 0},
         {0.875, 0.75},
         {0.625, 0.25}},
    };
    for (const auto& row : rows) {
        SetUp();
        place({{1, {0.25, 0.25}}, {3, {0.75, 1}}});
        select({1, 3});
        UvEditor editor = editorOf(0);
        row.act(editor, model);
        EXPECT_EQ(uvs()[1], row.first) << row.what;
        EXPECT_EQ(uvs()[3], row.third) << row.what;
        EXPECT_EQ(uvs()[0], row.middle) << row.what;
        EXPECT_EQ(uvs()[2], Uv(1, 0)) << row.what;
    }
}

TEST_F(Transform, TheViewFollowsTheVertices) {
    select({1, 2, 3, 4});
    UvEditor editor = editorOf(0);
    editor.scaleU(model, 3);
    EXPECT_EQ(editor.minU, -1);
    EXPECT_EQ(editor.maxU, 2);
    EXPECT_EQ(editor.centreU, 0.5);
    EXPECT_EQ(editor.halfExtent, 1.5);

    // Merged onto one point, the view shows a small square around it.
    editor.selectAll(model);
    editor.scaleU(model, 0);
    editor.scaleV(model, 0);
    EXPECT_EQ(editor.halfExtent, 0);
    EXPECT_EQ(editor.shownHalfExtent(), 0.05);
    EXPECT_EQ(editor.centreU, 0.5);
}

} // namespace
} // namespace sw
