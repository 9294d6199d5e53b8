#include "render/GlFrame.h"
#include "platform/HeadlessGl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace sw::test {
namespace {

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
                                  {500, 500, true, 1250, 1250},
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
