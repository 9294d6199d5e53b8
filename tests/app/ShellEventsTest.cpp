#include "app/ShellFixture.h"
#include "model/Model.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace sw::test {
namespace {

using Id = ControlId;

struct LayoutCase {
    int width;
    int height;
};

class MainWindowLayout : public ShellFixture, public testing::WithParamInterface<LayoutCase> {};

TEST_P(MainWindowLayout, FramesTheViewWithTheBarsAndButtons) {
    const int w = GetParam().width;
    const int h = GetParam().height;
    windows.setScrollPos(Id::PitchBar, 17);

    shell.onSize(Window::Main, w, h);

    struct Placed {
        Id id;
        Rect rect;
    };
    for (const Placed& p :
         {Placed{Id::GlView, {37, 8, w - 71, h - 43}}, Placed{Id::PanYBar, {8, 8, 10, h - 35}},
          Placed{Id::PitchBar, {19, 8, 10, h - 35}}, Placed{Id::YawBar, {29, h - 27, w - 56, 10}},
          Placed{Id::PanXBar, {29, h - 16, w - 56, 10}},
          Placed{Id::ZoomBar, {w - 27, 8, 21, h - 35}},
          Placed{Id::MouseModeButton, {8, h - 27, 21, 21}},
          Placed{Id::ResetViewButton, {w - 27, h - 27, 21, 21}}})
        EXPECT_EQ(windows.control(p.id).rect, p.rect) << toInt(p.id);
    // A bar keeps its position when it moves.
    EXPECT_EQ(windows.scrollPos(Id::PitchBar), 17);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MainWindowLayout,
                         testing::Values(LayoutCase{640, 480}, LayoutCase{71, 43}, LayoutCase{0, 0},
                                         LayoutCase{20, 10}, LayoutCase{-8, -30}));

TEST_F(ShellFixture, ViewResizeKeepsTheViewportAndAsksForAFrame) {
    const int framesBefore = windows.framesRequested();
    shell.onSize(Window::GlView, 300, 200);

    EXPECT_EQ(shell.state.viewportRect.width(), 300);
    EXPECT_EQ(shell.state.viewportRect.height(), 200);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 300, 200}));
    EXPECT_GT(windows.framesRequested(), framesBefore);
}

TEST_F(ShellFixture, FrameWithoutAModelIsBlack) {
    HeadlessGl* gl = windows.gl();
    ASSERT_NE(gl, nullptr);
    // Whatever was in the buffer before, here a red square over all of it.
    glViewport(0, 0, gl->width(), gl->height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glColor3d(1, 0, 0);
    glRectd(-1, -1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    const auto red = gl->readPixels();
    ASSERT_EQ(red[0], 255);

    shell.onFrame();

    const auto pixels = gl->readPixels();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](auto b) { return b == 0; }));
}

// A square of side 2 standing in the model's x-z plane, facing the camera, textured white.
std::unique_ptr<Model> squareModel() {
    auto model = std::make_unique<Model>();
    Material& material = model->materials.emplace_back();
    const std::array<std::uint8_t, 3> white{255, 255, 255};
    glGenTextures(1, &material.glTexture);
    glBindTexture(GL_TEXTURE_2D, material.glTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white.data());
    Mesh& mesh = model->meshes.emplace_back();
    mesh.displayMode = 2;
    for (const auto& [x, z] : {std::pair{1.0, -1.0}, {-1.0, -1.0}, {-1.0, 1.0}, {1.0, 1.0}})
        mesh.glVerts.push_back({x, 0, z, false});
    mesh.glTxverts.resize(4);
    GlGroup& group = mesh.glGroups.emplace_back();
    group.glFaces.push_back({{{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0});
    return model;
}

TEST_F(ShellFixture, FrameOfTheModelViewShowsTheModelThroughTheCamera) {
    HeadlessGl* gl = windows.gl();
    ASSERT_NE(gl, nullptr);
    shell.state.currentModel = squareModel();
    shell.state.modelViewActive = true;
    // The camera as a model's opening resets it; the square spans 2000 of the 2500 units.
    shell.state.viewState.eye = {0, 0, -20000};
    shell.state.viewState.up = {0, 1, 0};
    shell.state.viewState.modelScale = 1000;
    shell.onSize(Window::GlView, gl->width(), gl->height());

    shell.onFrame();

    const auto pixels = gl->readPixels();
    const auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>((y * gl->width() + x) * 3)];
    };
    EXPECT_EQ(at(gl->width() / 2, gl->height() / 2), 255);
    EXPECT_EQ(at(gl->width() / 2, 2), 0); // the 10 % margin around the square stays black
    EXPECT_EQ(at(1, gl->height() / 2), 0);
}

TEST_F(ShellFixture, ClosingTheMainWindowDropsTheModelWithoutAskingAndQuitsWithZero) {
    shell.state.currentModel = std::make_unique<Model>();
    shell.state.currentEditor = EditorChoice{0, 0};
    shell.state.modelViewActive = true;

    shell.onClose(Window::Main);

    EXPECT_TRUE(fake.messageBoxes.shown().empty());
    EXPECT_EQ(shell.state.currentModel, nullptr);
    EXPECT_FALSE(shell.state.currentEditor.has_value());
    EXPECT_FALSE(shell.state.modelViewActive);
    EXPECT_EQ(windows.quitCode(), 0);

    // Every control of the panel, then the view (which releases its context), then the bars
    // and buttons; the tool windows destroy themselves; the main window waits for the loop.
    std::vector<Id> expected;
    const auto& order = windows.creationOrder();
    const auto firstPanelControl = std::find(order.begin(), order.end(), Id::MeshGroup);
    expected.assign(firstPanelControl, order.end());
    expected.push_back(Id::GlView);
    for (const Id id : {Id::PanYBar, Id::PanXBar, Id::ZoomBar, Id::PitchBar, Id::YawBar,
                        Id::MouseModeButton, Id::ResetViewButton})
        expected.push_back(id);
    EXPECT_EQ(windows.destroyedControls(), expected);
    EXPECT_EQ(windows.destroyedWindows(), (std::vector<Window>{Window::Controls, Window::Options}));
    EXPECT_FALSE(windows.window(Window::Main).destroyed);
    EXPECT_FALSE(windows.control(Id::MatFirst).destroyed);
}

TEST_F(ShellFixture, CloseBoxesOfTheToolWindowsOnlyHideThem) {
    shell.onClose(Window::Controls);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    EXPECT_FALSE(shell.state.controlPanelVisible);

    windows.setVisible(Window::Options, true);
    shell.onClose(Window::Options);
    EXPECT_FALSE(windows.window(Window::Options).visible);

    EXPECT_TRUE(windows.destroyedWindows().empty());
    EXPECT_FALSE(windows.quitCode().has_value());
}

TEST_F(ShellFixture, KeyDownFollowsOnlyTheKeysOfTheMainWindow) {
    shell.onKeyDown(Window::Main, vk::kControl);
    shell.onKeyDown(Window::Main, vk::kShift);
    shell.onKeyUp(Window::Options, vk::kControl); // released elsewhere: still held
    shell.onKeyUp(Window::Main, vk::kShift);
    shell.onKeyDown(Window::Controls, vk::kLeft);
    shell.onKeyDown(Window::Main, 300); // no such key

    std::vector<int> held;
    for (int key = 0; key < vk::kCount; ++key) {
        if (shell.state.keyDown[static_cast<std::size_t>(key)])
            held.push_back(key);
    }
    EXPECT_EQ(held, std::vector<int>{vk::kControl});
}

} // namespace
} // namespace sw::test
