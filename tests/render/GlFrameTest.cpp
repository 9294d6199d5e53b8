#include "render/GlFrame.h"
#include "platform/HeadlessGl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace sw {
namespace {

struct ProjectionCase {
    int width;
    int height;
    bool modelViewActive;
    // The volume the projection should span; all zero for the identity.
    double left, right, bottom, top;
};

class SetupProjection : public testing::TestWithParam<ProjectionCase> {};

TEST_P(SetupProjection, SpansTheLongerSideAndKeepsTheAspect) {
    const ProjectionCase c = GetParam();
    const auto gl = HeadlessGl::create(8, 8);
    ASSERT_NE(gl, nullptr);
    glMatrixMode(GL_MODELVIEW);
    glTranslated(1, 2, 3); // left over from a previous frame

    setupProjection(c.width, c.height, c.modelViewActive);

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, c.width, c.height}));
    std::array<GLdouble, 16> p{};
    glGetDoublev(GL_PROJECTION_MATRIX, p.data());
    std::array<double, 16> expected{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (c.right != c.left) {
        // glOrtho with near 0 and far 40000.
        expected[0] = 2 / (c.right - c.left);
        expected[5] = 2 / (c.top - c.bottom);
        expected[10] = -2.0 / 40000;
        expected[12] = -(c.right + c.left) / (c.right - c.left);
        expected[13] = -(c.top + c.bottom) / (c.top - c.bottom);
        expected[14] = -1;
    }
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(p[i], expected[i], 1e-6 * (1 + std::abs(expected[i]))) << "element " << i;

    std::array<GLdouble, 16> modelView{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    EXPECT_EQ(modelView[12], 0);
    EXPECT_EQ(modelView[13], 0);
    EXPECT_EQ(modelView[14], 0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SetupProjection,
                         testing::Values(ProjectionCase{400, 300, true, -1250, 1250, -937.5, 937.5},
                                         ProjectionCase{300, 400, true, -937.5, 937.5, -1250, 1250},
                                         ProjectionCase{500, 500, true, -1250, 1250, -1250, 1250},
                                         // The texture view and an empty view keep the identity.
                                         ProjectionCase{400, 300, false, 0, 0, 0, 0},
                                         // A minimised view has no volume to project.
                                         ProjectionCase{0, 300, true, 0, 0, 0, 0}));

} // namespace
} // namespace sw
