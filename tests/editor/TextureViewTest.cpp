#include "EditorFixture.h"

#include "platform/HeadlessGl.h"
#include "render/GlFrame.h"

#include "support/GlPixels.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <optional>

namespace sw::test {
namespace {

constexpr int kSize = 100;

// Frames of the texture view of the fan's group, drawn as the program draws them, with the
// group's texture replaced by a 2 x 2 one.
class TextureView : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
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

    // The pixel that shows texture coordinates (u, v) in the last frame.
    Rgb at(double u, double v) const {
        const double half = editor_->shownHalfExtent();
        const double x = (u - (editor_->centreU - half)) / (2 * half) * kSize;
        const double y = (v - (editor_->centreV - half)) / (2 * half) * kSize;
        return pixelAt(pixels_, kSize, static_cast<int>(std::floor(x)),
                       static_cast<int>(std::floor(y)));
    }
    // The brightest pixel around (u, v): a one-pixel line drawn smoothly may fall on either
    // side of its exact place.
    Rgb brightestNear(double u, double v) const {
        const double step = editor_->shownHalfExtent() * 2 / kSize;
        Rgb best;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const Rgb c = at(u + dx * step, v + dy * step);
                if (c.r + c.g + c.b > best.r + best.g + best.b)
                    best = c;
            }
        return best;
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
}

TEST_F(TextureView, DrawsPointsByTheirSelectionAndTheRectangleOnTop) {
    useTexture({kBlack, kBlack, kBlack, kBlack});
    place({{1, {0.25, 0.25}}});
    select({0});
    UvEditor editor = editorOf(0); // the unit square
    // Its sides on the middles of pixel rows and columns.
    editor.beginRect(0.605, 0.205);
    editor.dragRect(0.3, 0.1);
    frame(editor);
    EXPECT_COLOUR(at(0.5, 0.5), kGreen);
    EXPECT_COLOUR(at(0.25, 0.25), kRed);
    EXPECT_COLOUR(brightestNear(0.7, 0.205), kGreen);
    EXPECT_COLOUR(brightestNear(0.905, 0.25), kGreen);
    EXPECT_COLOUR(at(0.85, 0.25), kBlack);
    // The outline of a face, between the middle and a corner.
    EXPECT_COLOUR(brightestNear(0.7, 0.7), kWhite);
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
