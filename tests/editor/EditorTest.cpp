#include "editor/PaintTemplate.h"
#include "editor/UndoHistory.h"
#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"

#include "support/Fakes.h"
#include "support/GlPixels.h"
#include "support/ModelText.h"

#include <GL/gl.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <tuple>
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

// The quad's corners A (0,0.75,0), B (2,0,0), C (2,1,4) and D (0,0.5,4) projected from each
// side and stretched over the texture: four own texture vertices, numbered A, B, C, D as the
// faces first use them.
TEST_F(Editing, RemapFromEachSideFillsTheTextureOnceWithOneVertexPerCorner) {
    using enum RemapDirection;
    const std::pair<RemapDirection, std::vector<Uv>> rows[] = {
        {Front, {{1, 0}, {0, 0}, {0, 1}, {1, 1}}},
        {Back, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
        {Top, {{0, 0.75}, {1, 0}, {1, 1}, {0, 0.5}}},
        {Bottom, {{1, 0.75}, {0, 0}, {0, 1}, {1, 0.5}}},
        {Left, {{0.75, 0}, {0, 0}, {1, 1}, {0.5, 1}}},
        {Right, {{0.25, 0}, {1, 0}, {0, 1}, {0.5, 1}}}};
    for (const auto& [direction, own] : rows) {
        SetUp();
        mesh().vertices[5].y = 0.75;
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

// A prism over a polygon of the x-y plane (counter-clockwise from above), `height` high: a
// quad per side, the top and bottom fanned from the polygon's first corner.
Mesh prism(const std::vector<Uv>& outline, double height) {
    const int n = static_cast<int>(outline.size());
    std::vector<Vertex> vertices;
    for (const double z : {0.0, height})
        for (const auto& [x, y] : outline)
            vertices.push_back({x, y, z});
    std::vector<FaceWithCorners> faces;
    for (int i = 0; i < n; ++i)
        faces.push_back(face(0, {{i, 0}, {(i + 1) % n, 0}, {(i + 1) % n + n, 0}, {i + n, 0}}));
    for (int i = 1; i + 1 < n; ++i) {
        faces.push_back(face(0, {{n, 0}, {n + i, 0}, {n + i + 1, 0}}));
        faces.push_back(face(0, {{0, 0}, {i + 1, 0}, {i, 0}}));
    }
    return mesh(std::move(vertices), {{0, 0}}, std::move(faces));
}

using Point3 = std::array<double, 3>;

Point3 minus(const Point3& a, const Point3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Point3 cross(const Point3& a, const Point3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double length(const Point3& a) {
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// Whether two convex polygons share more than their borders: no edge of either separates them
// by more than rounding.
bool overlap(const std::vector<Uv>& a, const std::vector<Uv>& b) {
    for (const auto* polygon : {&a, &b}) {
        for (std::size_t i = 0; i < polygon->size(); ++i) {
            const Uv& p = (*polygon)[i];
            const Uv& q = (*polygon)[(i + 1) % polygon->size()];
            const auto side = [&](const Uv& r) {
                return (q.first - p.first) * (r.second - p.second) -
                       (q.second - p.second) * (r.first - p.first);
            };
            double lowA = HUGE_VAL, highA = -HUGE_VAL, lowB = HUGE_VAL, highB = -HUGE_VAL;
            for (const Uv& r : a)
                lowA = std::min(lowA, side(r)), highA = std::max(highA, side(r));
            for (const Uv& r : b)
                lowB = std::min(lowB, side(r)), highB = std::max(highB, side(r));
            if (highA <= lowB + 1e-9 || highB <= lowA + 1e-9)
                return false;
        }
    }
    return true;
}

// Every group of a cube, an L-shaped prism (on a 64 x 32 texture) and the sample lantern, and
// each turned a quarter about x, y and z, box-remapped: within the texture, faces unmirrored
// (counter-clockwise, so of positive area) and apart, and as many texels on every face. A face
// is projected along its axis, so its texels per unit of area are the common density times the
// cosine between its normal and that axis (the lantern's tilted sides: 0.88 to 0.96); faces
// square to their axis take the texels square, every edge as long in texels per unit. Both
// hold to 1e-9, against rounding of about 1e-15 in each coordinate.
TEST(BoxRemap, LaysEveryFaceOutUnmirroredApartAndAtOneDensity) {
    Model lantern;
    ASSERT_TRUE(lantern.load(std::string(SW_SAMPLES_DIR) + "/lantern.3do"));
    const Model models[] = {
        model({"paint"}, {prism({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1)}),
        model({"paint"}, {prism({{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 0.5)}), lantern};
    using Turn = Point3 (*)(const Point3&);
    const Turn turns[] = {[](const Point3& p) { return p; },
                          [](const Point3& p) {
                              return Point3{p[0], -p[2], p[1]};
                          },
                          [](const Point3& p) {
                              return Point3{p[2], p[1], -p[0]};
                          },
                          [](const Point3& p) {
                              return Point3{-p[1], p[0], p[2]};
                          }};
    FakeTextures textures;
    textures.sizes = {{"paint", {64, 32}}, {"wood", {32, 64}}, {"red", {8, 8}}};
    FakeMessageBox messages;
    for (std::size_t row = 0; row < std::size(models) * std::size(turns); ++row) {
        SCOPED_TRACE("model " + std::to_string(row / 4) + ", turn " + std::to_string(row % 4));
        Model model = models[row / 4];
        for (Vertex& v : model.meshes[0].vertices)
            std::tie(v.x, v.y, v.z) =
                std::apply([](double x, double y, double z) { return std::tuple(x, y, z); },
                           turns[row % 4]({v.x, v.y, v.z}));
        ASSERT_TRUE(model.prepare(textures.fn(), messages));
        const Mesh& mesh = model.meshes[0];
        for (int g = 0; g < mesh.numGlGroups(); ++g) {
            ASSERT_TRUE(UvEditor(model, 0, g).boxRemap(model, messages));
            const GlGroup& group = mesh.glGroups[static_cast<std::size_t>(g)];
            const Material& texture = model.materials[static_cast<std::size_t>(group.material)];
            std::vector<std::vector<Uv>> polygons;
            std::vector<double> densities, edgeRatios;
            for (const GlFace& face : group.glFaces) {
                std::vector<Uv>& texels = polygons.emplace_back();
                std::vector<Point3> corners;
                for (const VertexRef& ref : face.refs) {
                    const GlTxvert& t = group.ownTxverts.at(static_cast<std::size_t>(ref.txvert));
                    EXPECT_TRUE(t.u >= 0 && t.u <= 1 && t.v >= 0 && t.v <= 1) << t.u << ", " << t.v;
                    texels.emplace_back(t.u * texture.width, t.v * texture.height);
                    const Vertex& v = mesh.vertices[static_cast<std::size_t>(ref.vertex)];
                    corners.push_back({v.x, v.y, v.z});
                }
                Point3 normal{};
                double area = 0;
                for (std::size_t i = 0; i < corners.size(); ++i) {
                    const std::size_t j = (i + 1) % corners.size();
                    const Point3 n = cross(corners[i], corners[j]);
                    normal = {normal[0] + n[0], normal[1] + n[1], normal[2] + n[2]};
                    area += texels[i].first * texels[j].second - texels[j].first * texels[i].second;
                }
                const double cosine =
                    std::max({std::abs(normal[0]), std::abs(normal[1]), std::abs(normal[2])}) /
                    length(normal);
                EXPECT_GT(area, 1e-6);
                densities.push_back(area / length(normal) / cosine);
                for (std::size_t i = 0; cosine > 1 - 1e-12 && i < corners.size(); ++i) {
                    const std::size_t j = (i + 1) % corners.size();
                    edgeRatios.push_back(std::hypot(texels[j].first - texels[i].first,
                                                    texels[j].second - texels[i].second) /
                                         length(minus(corners[j], corners[i])));
                }
            }
            // Shelved tallest first, the L prism's 10 square units cover over 900 of its 2048
            // texels.
            if (row / 4 == 1) {
                EXPECT_GT(densities.front(), 90);
            }
            for (const std::vector<double>* same : {&densities, &edgeRatios})
                for (const double value : *same)
                    EXPECT_NEAR(value / same->front(), 1, 1e-9);
            for (std::size_t a = 0; a < polygons.size(); ++a)
                for (std::size_t b = a + 1; b < polygons.size(); ++b)
                    EXPECT_FALSE(overlap(polygons[a], polygons[b])) << "faces " << a << ", " << b;
        }
        // Six sides of four corners each; a planar remap after it goes back to one texture
        // vertex per corner of the cube.
        if (row == 0) {
            EXPECT_EQ(mesh.glGroups[0].ownTxverts.size(), 24u);
            ASSERT_TRUE(UvEditor(model, 0, 0).autoRemap(model, RemapDirection::Top, messages));
            EXPECT_EQ(mesh.glGroups[0].ownTxverts.size(), 8u);
        }
    }
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
    // A box remap spreads them over the texture again, and the view follows.
    ASSERT_TRUE(editor.boxRemap(model, messages));
    EXPECT_GT(editor.halfExtent, 0.1);
    // A CTRL gesture holds the fitted view, whatever a zoom held before it.
    const ViewArea area{100, 100};
    const PixelPoint fitted = editor.mapping(model, area).pixelAt(1, 1);
    editor.zoomAt(model, area, 50, 50, 0.25);
    editor.followVertices();
    editor.holdForGesture(true);
    const PixelPoint held = editor.mapping(model, area).pixelAt(1, 1);
    EXPECT_EQ(std::pair(held.x, held.y), std::pair(fitted.x, fitted.y));
}

// A paint template on a texture of other proportions: every pixel is an outline's or the texel
// it falls on, to the image's last; with nothing under it, the ground is clear.
TEST_F(Editing, APaintTemplateLaysTheOutlinesOnTheTextureScaledToIt) {
    RgbaPixels texture{3, 5, {}};
    for (int i = 0; i < 15; ++i)
        texture.bytes.insert(texture.bytes.end(), {static_cast<std::uint8_t>(10 * i),
                                                   static_cast<std::uint8_t>(i), 0, 255});
    const RgbaPixels image = paintTemplate(mesh(), group(0), 7, 4, &texture);
    ASSERT_EQ(image.bytes.size(), 7u * 4 * 4);
    int outlined = 0;
    for (std::size_t y = 0; y < 4; ++y)
        for (std::size_t x = 0; x < 7; ++x) {
            const auto* pixel = image.bytes.data() + (y * 7 + x) * 4;
            const auto* texel = texture.bytes.data() + (y * 5 / 4 * 3 + x * 3 / 7) * 4;
            if (std::equal(pixel, pixel + 4, kOutlineColour.begin()))
                ++outlined;
            else
                EXPECT_TRUE(std::equal(pixel, pixel + 4, texel)) << x << ", " << y;
        }
    EXPECT_GT(outlined, 0);
    // Outlines wholly beyond the texture, to the right or above, are left out, not drawn along
    // its edge.
    for (const auto& [du, dv] : {std::pair{1.5, 0.0}, std::pair{-1.5, 1.5}}) {
        for (GlTxvert& t : txverts()) {
            t.u += du;
            t.v += dv;
        }
        const RgbaPixels clear = paintTemplate(mesh(), group(0), 16, 16, nullptr);
        EXPECT_EQ(clear.bytes, std::vector<std::uint8_t>(16 * 16 * 4, 0)) << du;
    }
    // A corner without a finite v is passed over, whatever its u.
    txverts()[0] = {0.5, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_EQ(paintTemplate(mesh(), group(0), 16, 16, nullptr).bytes,
              std::vector<std::uint8_t>(16 * 16 * 4, 0));
}

constexpr int kSize = 100;

// Each step sets a number and keeps the one before. Beyond 200 steps, or 64 MiB between them,
// the oldest go; the latest stays whatever its size, and the file's state, once its step is
// gone, counts as unsaved for good.
TEST(UndoHistory, DropsTheOldestStepsBeyondItsBounds) {
    struct Step : UndoStep {
        Step(int& value, int next, std::size_t size) : value(value), other(next), size(size) {}
        void swap(Model&) override { std::swap(value, other); }
        bool matches(const Model&) const override { return value == other; }
        std::size_t bytes() const override { return size; }
        StepScope scope() const override { return {}; }
        int& value;
        int other;
        std::size_t size;
    };
    Model model;
    int value = 0;
    UndoHistory history;
    const auto change = [&](int next, std::size_t size) {
        auto step = std::make_unique<Step>(value, next, size);
        step->swap(model);
        history.push(std::move(step));
    };
    for (int i = 1; i <= 201; ++i)
        change(i, 1000);
    EXPECT_EQ(history.size(), 200u);
    while (history.undo(model) != nullptr)
        continue;
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(history.isModified());
    // Saved after the second step, which stays: undo finds the saved state again.
    history.clear();
    for (int i = 1; i <= 201; ++i) {
        change(i, 1000);
        if (i == 2)
            history.markSaved();
    }
    for (int i = 0; i < 199; ++i)
        history.undo(model);
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(history.isModified());

    history.clear();
    for (int i = 1; i <= 3; ++i)
        change(i, std::size_t{40} << 20);
    EXPECT_EQ(history.size(), 1u);
    EXPECT_EQ(history.bytes(), std::size_t{40} << 20);
}

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
        view_ = editor.mapping(model, {kSize, kSize});
        beginFrame();
        editor.setProjection(view_);
        editor.draw(model, view_);
        glFinish();
        pixels_ = gl_->readPixels();
    }

    // The pixel that shows texture coordinates (u, v) in the last frame, or the brightest of
    // it and the pixels around it up to `reach` away.
    Rgb at(double u, double v, int reach = 0) const {
        const PixelPoint p = view_.pixelAt(u, v);
        const auto x = static_cast<int>(std::floor(p.x));
        const auto y = kSize - 1 - static_cast<int>(std::floor(p.y)); // bottom row first
        return brightest(pixels_, kSize, x - reach, y - reach, x + reach, y + reach);
    }

    std::unique_ptr<HeadlessGl> gl_;
    std::vector<std::uint8_t> pixels_;
    ViewMapping view_;
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
    EXPECT_COLOUR(at(1.9, 0.6), kWhite);
    EXPECT_COLOUR(at(0, -0.75), kRed); // the first pixel of the view

    // An image not found: the checkerboard of a missing texture, 8 x 8 cells to a tile.
    uploadTexture(model.materials[0] = Material{}, TextureFormat::Mat);
    frame(editorOf(0));
    EXPECT_COLOUR(at(0.0625, 0.3125), (Rgb{255, 0, 255}));
    EXPECT_COLOUR(at(0.1875, 0.3125), (Rgb{64, 64, 64}));
}

TEST_F(TextureView, DrawsPointsByTheirSelectionAndTheRectangleOnTop) {
    useTexture({kBlack, kBlack, kBlack, kBlack});
    place({{1, {0.25, 0.25}}});
    group(0).glFaces[0].refs.push_back({3, 3}); // a quad, whose side 1-2 no other face has
    select({0});
    UvEditor editor = editorOf(0); // the unit square, 68 pixels across 16 inside the edges
    // Its sides on the middles of pixel rows and columns.
    const ViewMapping view = editor.mapping(model, {kSize, kSize});
    const TexturePoint low = view.textureAt(57.5, 70.5);
    const TexturePoint high = view.textureAt(77.5, 63.5);
    editor.beginRect(low.u, low.v);
    editor.dragRect(high.u - low.u, high.v - low.v);
    // The model view leaves blending off after the chosen group's outline: the smoothed edges
    // here blend with what lies under them all the same.
    glDisable(GL_BLEND);
    frame(editor);
    EXPECT_LT(at(0.25 + 3 / 68.0, 0.25).r, 128);
    EXPECT_COLOUR(at(0.5, 0.5), kGreen);
    EXPECT_COLOUR(at(0.25, 0.25), kRed);
    EXPECT_COLOUR(at(0.7, low.v, 1), kGreen);
    EXPECT_COLOUR(at(high.u, 0.25, 1), kGreen);
    EXPECT_COLOUR(at(0.85, 0.25), kBlack);
    // The corner vertex (1, 0) shows whole, clear of the view's edges.
    EXPECT_COLOUR(at(1 + 1.5 / 68, -1.5 / 68), kRed);
    // The outline of a face, between the middle and a corner.
    EXPECT_COLOUR(at(0.7, 0.7, 1), kWhite);
    EXPECT_COLOUR(at(0.85, 0.05, 1), kWhite);
}

// Every corner on one texture vertex: the faces have no sides, and the vertex shows.
TEST_F(TextureView, AGroupOnOnePointShowsTheTextureAroundIt) {
    useTexture({kRed, kGreen, kBlue, kWhite});
    place({{0, {0.3, 0.7}}});
    for (GlFace& face : group(0).glFaces)
        for (VertexRef& ref : face.refs)
            ref.txvert = 0;
    frame(editorOf(0));
    EXPECT_COLOUR(at(0.3, 0.7), kRed);
    EXPECT_COLOUR(at(0.26, 0.74), kBlue);
    EXPECT_COLOUR(at(0.34, 0.66), kBlue);
}

} // namespace
} // namespace sw::test
