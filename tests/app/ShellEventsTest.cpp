#include "app/ShellFixture.h"
#include "model/Model.h"
#include "platform/MessageBoxF.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace sw::test {
namespace {

// The start-up layout is in tests/data/startup.txt. A window too small for its frame gives
// zero or negative sizes, passed on as they are; a bar keeps its position when it moves. The
// view's own size sets the viewport and asks for a frame.
TEST_F(ShellFixture, LayoutFollowsTheWindowsSizeAndTheViewportTheViews) {
    windows.setScrollPos(Id::PitchBar, 17);
    shell.onSize(Window::Main, 640, 480);
    EXPECT_EQ(windows.control(Id::GlView).rect, (Rect{37, 8, 569, 437}));
    EXPECT_EQ(windows.control(Id::ResetViewButton).rect, (Rect{613, 453, 21, 21}));
    shell.onSize(Window::Main, 20, 10);
    EXPECT_EQ(windows.control(Id::GlView).rect, (Rect{37, 8, -51, -33}));
    EXPECT_EQ(windows.control(Id::YawBar).rect, (Rect{29, -17, -36, 10}));
    EXPECT_EQ(windows.scrollPos(Id::PitchBar), 17);

    const int framesBefore = windows.framesRequested;
    shell.onSize(Window::GlView, 300, 200);
    EXPECT_EQ(shell.state.viewportRect.width(), 300);
    EXPECT_EQ(shell.state.viewportRect.height(), 200);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 300, 200}));
    EXPECT_GT(windows.framesRequested, framesBefore);
}

TEST_F(ShellFixture, FrameWithoutAModelIsBlack) {
    HeadlessGl* gl = windows.gl.get();
    ASSERT_NE(gl, nullptr);
    // Whatever was in the buffer before, here red; the shell's clear colour stays.
    std::array<GLfloat, 4> clearColour{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour.data());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    ASSERT_EQ(gl->readPixels()[0], 255);

    shell.onFrame();

    const auto pixels = gl->readPixels();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](auto b) { return b == 0; }));
}

TEST_F(ShellFixture, ClosingTheMainWindowDropsTheModelWithoutAskingAndQuitsWithZero) {
    openKnight();
    shell.state.currentEditor = std::make_unique<UvEditor>(*shell.state.currentModel, 0, 0);

    shell.onClose(Window::Main);

    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(shell.state.currentModel, nullptr);
    EXPECT_EQ(shell.state.currentEditor, nullptr);
    EXPECT_FALSE(shell.state.modelViewActive);
    EXPECT_EQ(windows.quitCode, 0);

    // Every control of the panel, then the view (which releases its context), then the bars
    // and buttons; the tool windows destroy themselves; the main window waits for the loop.
    const auto& order = windows.creationOrder;
    std::vector<Id> expected(std::find(order.begin(), order.end(), Id::MeshGroup), order.end());
    expected.insert(expected.end(),
                    {Id::GlView, Id::PanYBar, Id::PanXBar, Id::ZoomBar, Id::PitchBar, Id::YawBar,
                     Id::MouseModeButton, Id::ResetViewButton});
    EXPECT_EQ(windows.destroyedControls, expected);
    EXPECT_EQ(windows.destroyedWindows, (std::vector<Window>{Window::Controls, Window::Options}));
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

// A path passed as an argument shows verbatim and whole, however long.
TEST(MessageBoxF, FormatsByPrintfAndShowsOneOkButton) {
    FakeMessageBox boxes;
    messageBoxF(boxes, Window::Main, "Caption", "%d of %s at %.2f", 3, "seven", 0.5);
    const std::string path = "C:\\100% done\\" + std::string(300, 'x') + ".cmp";
    messageBoxF(boxes, Window::None, "Invalid CMP File", "%s", path.c_str());
    EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                 {Window::Main, "3 of seven at 0.50", "Caption", kMbOk},
                                 {Window::None, path, "Invalid CMP File", kMbOk}}));
}

} // namespace
} // namespace sw::test
