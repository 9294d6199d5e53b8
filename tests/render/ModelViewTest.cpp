#include "render/ModelView.h"
#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"
#include "render/ViewState.h"

#include "support/GlPixels.h"

#include <GL/gl.h>

#include <array>
#include <functional>
#include <utility>

namespace sw::test {
namespace {

// The view is 100 x 100 pixels and 2500 units across, so with the model scaled by 500 one
// model unit is 20 pixels and the quads below (corners at +-1) span pixels 30 to 70.
constexpr int kSize = 100;
constexpr double kModelScale = 500;

// White, red and blue under the selection tint (0.8, 1, 0.8).
constexpr Rgb kTinted{204, 255, 204};
constexpr Rgb kDimRed{204, 0, 0};
constexpr Rgb kDimBlue{0, 0, 204};
// The checkerboard of a missing texture, and its cells under the tint.
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kGrey{64, 64, 64};
constexpr Rgb kTintedMagenta{204, 0, 204};
constexpr Rgb kTintedGrey{51, 64, 51};

// Where a point of the screen (x to the right, y up, in model units from the middle of the
// view) lies on the model for a given orientation of the view.
using ScreenToModel = std::function<Vector3(double x, double y)>;

// Unturned, the viewer looks at the model's +y side with +z up and +x to the left.
const ScreenToModel kFront = [](double x, double y) { return Vector3{-x, 0, y}; };

struct Quad {
    double left = -1, bottom = -1, right = 1, top = 1; // screen rectangle, model units
    int group = 0;
    bool facingAway = false; // corners wound clockwise as the viewer sees them
};

// A prepared mesh of quads. Corners go counter-clockwise on the screen from the bottom left,
// with texture coordinates (0,0), (1,0), (1,1), (0,1), so each quarter of a quad shows one
// texel of a 2 x 2 texture.
Mesh quadMesh(const std::vector<Quad>& quads, const ScreenToModel& toModel = kFront) {
    Mesh mesh;
    mesh.displayMode = 2;
    for (const Quad& quad : quads) {
        const int first = static_cast<int>(mesh.glVerts.size());
        const double xs[] = {quad.left, quad.right, quad.right, quad.left};
        const double ys[] = {quad.bottom, quad.bottom, quad.top, quad.top};
        GlFace face;
        for (int i = 0; i < 4; ++i) {
            const Vector3 p = toModel(xs[i], ys[i]);
            mesh.glVerts.push_back({p.x, p.y, p.z});
            mesh.glTxverts.push_back({i == 1 || i == 2 ? 1.0 : 0.0, i >= 2 ? 1.0 : 0.0});
            face.refs.push_back({first + i, first + i});
        }
        if (quad.facingAway)
            std::swap(face.refs[1], face.refs[3]);
        while (static_cast<int>(mesh.glGroups.size()) <= quad.group) {
            GlGroup group;
            group.material = static_cast<int>(mesh.glGroups.size());
            mesh.glGroups.push_back(group);
        }
        mesh.glGroups[static_cast<std::size_t>(quad.group)].glFaces.push_back(face);
    }
    return mesh;
}

class ModelViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_ = HeadlessGl::create(kSize, kSize);
        ASSERT_NE(gl_, nullptr) << "no headless GL context";
        initGlState();
        setupProjection(kSize, kSize, true);
        view_.modelScale = kModelScale;
        // Red, green, blue and white quarters show both which texel is drawn where and the
        // colour it is multiplied by.
        quarters_ = textured({kRed, kGreen, kBlue, kWhite});
        white_ = textured({kWhite, kWhite, kWhite, kWhite});
    }

    // One frame exactly as the program draws it.
    void draw(const Model& model) {
        beginFrame();
        applyCamera(view_);
        drawModelView(model, view_);
        glFinish();
        pixels_ = gl_->readPixels();
    }

    // The pixel x pixels from the left and y from the bottom.
    Rgb at(int x, int y) const { return brightest(pixels_, kSize, x, y, x, y); }

    // The four quarters of the middle quad, away from its diagonal and its edges.
    void expectQuarters(Rgb bottomLeft, Rgb bottomRight, Rgb topLeft, Rgb topRight) const {
        EXPECT_COLOUR(at(37, 44), bottomLeft);
        EXPECT_COLOUR(at(63, 44), bottomRight);
        EXPECT_COLOUR(at(37, 56), topLeft);
        EXPECT_COLOUR(at(63, 56), topRight);
    }

    Rgb brightestInRow(int y, int fromX, int toX) const {
        return brightest(pixels_, kSize, fromX, y, toX, y);
    }

    Model modelOf(Mesh mesh, std::vector<Material> materials) const {
        Model model;
        model.meshes.push_back(std::move(mesh));
        model.materials = std::move(materials);
        return model;
    }

    std::unique_ptr<HeadlessGl> gl_;
    std::vector<std::uint8_t> pixels_;
    ViewState view_;
    Material quarters_;
    Material white_;
};

// Pitched 90: looking down on +z with +y toward the bottom of the screen.
const ScreenToModel kTop = [](double x, double y) { return Vector3{-x, -y, 0}; };
// Yawed 90: the model's -x side faces the viewer, +z still up.
const ScreenToModel kSide = [](double x, double y) { return Vector3{0, -x, y}; };
// Yaw turns the model about its own vertical axis before the tilt: looking down on +z again,
// now with +x up the screen and +y to the left.
const ScreenToModel kBoth = [](double x, double y) { return Vector3{y, -x, 0}; };

struct QuarterRow {
    const char* what;
    double pitch = 0, yaw = 0;
    ScreenToModel toModel = kFront;
    bool selected = false, loaded = true, ownTxverts = false;
    std::array<Rgb, 4> quarters{kRed, kGreen, kBlue, kWhite}; // bottom left ... top right
};

// Each row builds a quad that faces the viewer, counter-clockwise as seen, on the side of the
// model that the turned view should show, with +y or +z where the view should put them. A
// rotation about the wrong axis, in the wrong direction or in the wrong order shows the quad
// from behind (culled: black) or with its quarters swapped. The texture is modulated by the
// group's colour: white when shown, the light green tint when selected; a material without
// an image shows the checkerboard of a missing texture, eight cells across the quad. A group with
// texture vertices of its own is drawn with them: here they map the whole quad into the top right
// texel.
TEST_F(ModelViewTest, ShowsTheSideFacingTheViewerTexturedUprightAndTinted) {
    const QuarterRow rows[] = {
        {"front"},
        {"pitch", 90, 0, kTop},
        {"yaw", 0, 90, kSide},
        {"both", 90, 90, kBoth},
        {.what = "selected", .selected = true, .quarters = {kDimRed, kGreen, kDimBlue, kTinted}},
        {.what = "no image", .loaded = false, .quarters = {kGrey, kMagenta, kMagenta, kGrey}},
        {.what = "selected, no image",
         .selected = true,
         .loaded = false,
         .quarters = {kTintedGrey, kTintedMagenta, kTintedMagenta, kTintedGrey}},
        {.what = "own vertices", .ownTxverts = true, .quarters = {kWhite, kWhite, kWhite, kWhite}},
    };
    for (const QuarterRow& row : rows) {
        SCOPED_TRACE(row.what);
        view_.pitch = row.pitch;
        view_.yaw = row.yaw;
        Material material = quarters_;
        if (!row.loaded)
            uploadTexture(material = Material{}, TextureFormat::Mat); // nothing decoded
        Model model = modelOf(quadMesh({Quad{}}, row.toModel), {material});
        GlGroup& group = model.meshes[0].glGroups[0];
        group.selected = row.selected;
        if (row.ownTxverts) {
            group.ownTxverts = {{0.75, 0.75}, {0.8, 0.75}, {0.8, 0.8}, {0.75, 0.8}};
            group.shared = false;
        }
        draw(model);
        expectQuarters(row.quarters[0], row.quarters[1], row.quarters[2], row.quarters[3]);
        EXPECT_COLOUR(at(25, 50), kBlack);
        EXPECT_COLOUR(at(75, 50), kBlack);
    }
}

TEST_F(ModelViewTest, CullsFacesSeenFromBehindButDrawsTheirWireAndSelectionOutline) {
    Model model = modelOf(quadMesh({Quad{.facingAway = true}}), {white_});
    model.meshes[0].displayMode = 1;
    draw(model);
    EXPECT_COLOUR(at(50, 50), kBlack);
    const Rgb wire = brightestInRow(30, 45, 55);
    EXPECT_GT(wire.r, 60) << wire;

    // Drawn as wire, culling was off; showing the mesh turns it on again.
    model.meshes[0].displayMode = 2;
    draw(model);
    EXPECT_EQ(pixels_, std::vector<std::uint8_t>(pixels_.size(), 0)); // all black

    model.meshes[0].glGroups[0].selected = true;
    draw(model);
    EXPECT_COLOUR(at(50, 50), kBlack);
    EXPECT_COLOUR(brightestInRow(30, 45, 55), kTinted);
}

TEST_F(ModelViewTest, WireMeshIsWhiteOutlinesWithoutFillOrTexture) {
    Model model = modelOf(quadMesh({Quad{}}), {quarters_});
    draw(model); // shown first, which leaves texturing on
    model.meshes[0].displayMode = 1;
    draw(model);
    expectQuarters(kBlack, kBlack, kBlack, kBlack);
    EXPECT_COLOUR(at(50, 50), kBlack);
    // Every edge is drawn, in white (no red texel on the bottom edge, no blue on the left).
    for (Rgb edge : {brightestInRow(30, 35, 45), brightestInRow(70, 55, 65)}) {
        EXPECT_GT(edge.r, 60) << edge;
        EXPECT_EQ(edge.r, edge.g) << edge;
        EXPECT_EQ(edge.g, edge.b) << edge;
    }
    for (int y : {35, 65}) {
        const Rgb left = brightestInRow(y, 27, 32);
        const Rgb right = brightestInRow(y, 68, 73);
        EXPECT_GT(left.r, 60) << left;
        EXPECT_GT(right.r, 60) << right;
        EXPECT_EQ(left.r, left.b) << left;
    }
    // Lines are one pixel wide: two pixels inside an edge is already black.
    EXPECT_COLOUR(at(50, 33), kBlack);
}

TEST_F(ModelViewTest, HiddenMeshDrawsOnlyItsSelectedGroupTintedAndOutlined) {
    // Group 0 on the left half, group 1 on the right half.
    Model model = modelOf(quadMesh({Quad{.right = 0, .group = 0}, Quad{.left = 0, .group = 1}}),
                          {white_, white_});
    model.meshes[0].displayMode = 0;
    draw(model);
    EXPECT_EQ(pixels_, std::vector<std::uint8_t>(pixels_.size(), 0)); // all black

    model.meshes[0].glGroups[1].selected = true;
    draw(model);
    EXPECT_COLOUR(at(40, 40), kBlack);
    EXPECT_COLOUR(at(60, 40), kTinted);
    // The outline shows just outside the group's right edge, in the tint, unblended.
    EXPECT_COLOUR(brightestInRow(50, 70, 72), kTinted);
}

TEST_F(ModelViewTest, ScalesByModelScaleTimesZoomFactor) {
    const Model model = modelOf(quadMesh({Quad{}}), {white_});
    view_.modelScale = kModelScale / 2;
    view_.zoomFactor = 1.5; // quad half-size 20 x 0.75 = 15 pixels
    draw(model);
    EXPECT_COLOUR(at(50 + 13, 50), kWhite);
    EXPECT_COLOUR(at(50 + 17, 50), kBlack);
    EXPECT_COLOUR(at(50 - 14, 50), kWhite);
    EXPECT_COLOUR(at(50 - 17, 50), kBlack);
}

// What the texture view leaves behind, and more.
void dirtyState() {
    glLineWidth(5);
    glPointSize(5);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_CULL_FACE);
    glColor3d(1, 0, 0);
}

TEST_F(ModelViewTest, StartsFromKnownStateAndKeepsTheCamera) {
    const Model model = modelOf(quadMesh({Quad{}}), {quarters_});
    Model selected = model;
    selected.meshes[0].glGroups[0].selected = true;
    draw(model);
    const std::vector<std::uint8_t> plain = pixels_;
    draw(selected);
    const std::vector<std::uint8_t> tinted = pixels_;

    dirtyState();
    beginFrame();
    applyCamera(view_);
    std::array<double, 16> before{};
    glGetDoublev(GL_MODELVIEW_MATRIX, before.data());
    drawModelView(model, view_);
    std::array<double, 16> after{};
    glGetDoublev(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(before, after);
    glFinish();
    EXPECT_EQ(gl_->readPixels(), plain);

    // Replacing instead of modulating would lose the tint; a wide outline would spread.
    dirtyState();
    draw(selected);
    EXPECT_EQ(pixels_, tinted);
}

struct ProjectionRow {
    int width, height;
    bool modelViewActive;
    double halfWidth, halfHeight; // of the volume; 1 for the identity
};

// The model view spans 2500 units along the longer side, keeps the aspect and runs from depth
// 0 to 40000; the texture view and a view without area keep the identity. The model-view
// matrix starts afresh, whatever a previous frame left.
TEST(SetupProjection, SpansTheLongerSideAndKeepsTheAspect) {
    const auto gl = HeadlessGl::create(8, 8);
    ASSERT_NE(gl, nullptr);
    const ProjectionRow rows[] = {{400, 300, true, 1250, 937.5},
                                  {300, 400, true, 937.5, 1250},
                                  {400, 300, false, 1, 1},
                                  {0, 300, true, 1, 1}};
    for (const ProjectionRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
        glMatrixMode(GL_MODELVIEW);
        glTranslated(1, 2, 3);
        setupProjection(row.width, row.height, row.modelViewActive);

        std::array<GLint, 4> viewport{};
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, row.width, row.height}));
        std::array<GLdouble, 16> p{};
        glGetDoublev(GL_PROJECTION_MATRIX, p.data());
        const bool ortho = row.halfWidth != 1;
        // GL keeps its matrices in single precision.
        EXPECT_NEAR(p[0] * row.halfWidth, 1, 1e-6);
        EXPECT_NEAR(p[5] * row.halfHeight, 1, 1e-6);
        EXPECT_NEAR(p[10] * (ortho ? -20000 : 1), 1, 1e-6);
        EXPECT_EQ((std::array{p[12], p[13], p[14]}), (std::array{0.0, 0.0, ortho ? -1.0 : 0.0}));
        std::array<GLdouble, 16> modelView{};
        glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
        EXPECT_EQ((std::array{modelView[12], modelView[13], modelView[14]}),
                  (std::array{0.0, 0.0, 0.0}));
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

} // namespace
} // namespace sw::test
