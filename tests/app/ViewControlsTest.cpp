#include "app/DocumentFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace sw::test {
namespace {

using Id = ControlId;

// The sample-sized triangle open in the 3D view, driven through the main window's handlers.
class ViewControls : public DocumentFixture {
protected:
    void SetUp() override {
        DocumentFixture::SetUp();
        writeModel("knight.3do");
        open("knight.3do");
        ASSERT_TRUE(shell.state.modelViewActive);
    }

    void press(int key, int times = 1) {
        for (int i = 0; i < times; ++i)
            shell.onKeyDown(Window::Main, key);
    }
    void hold(int key) { shell.onKeyDown(Window::Main, key); }
    void release(int key) { shell.onKeyUp(Window::Main, key); }
    void scroll(Id bar, ScrollRequest request, int times = 1, int position = 0) {
        for (int i = 0; i < times; ++i)
            shell.onScroll(bar, request, position);
    }
    int bar(Id id) const { return windows.scrollPos(id); }
    const ViewState& view() const { return shell.state.viewState; }

    // Moves every bar away from 0 and turns the mouse mode on.
    void moveEverything() {
        press(vk::kLeft);
        press(vk::kDown);
        press(vk::kAdd);
        hold(vk::kShift);
        press(vk::kLeft);
        press(vk::kUp);
        release(vk::kShift);
        shell.onChar(Window::Main, 'm');
        for (Id id : {Id::PitchBar, Id::YawBar, Id::ZoomBar, Id::PanXBar, Id::PanYBar})
            ASSERT_NE(bar(id), 0) << toInt(id);
        ASSERT_EQ(windows.text(Id::MouseModeButton), "m");
    }
};

TEST_F(ViewControls, ArrowsPanAndStopAtTheEnd) {
    press(vk::kLeft, 150);
    EXPECT_EQ(view().panX, -100);
    EXPECT_EQ(bar(Id::PanXBar), -100);

    // CTRL takes steps of ten; Up pans toward negative panY, as the bar's up arrow does.
    hold(vk::kControl);
    press(vk::kRight, 3);
    press(vk::kUp);
    release(vk::kControl);
    EXPECT_EQ(bar(Id::PanXBar), -70);
    EXPECT_EQ(bar(Id::PanYBar), -10);
    scroll(Id::PanYBar, ScrollRequest::LineUp);
    EXPECT_EQ(bar(Id::PanYBar), -11);
}

TEST_F(ViewControls, ShiftArrowsTurnAndWrapAndThePitchBarShowsItNegated) {
    hold(vk::kShift);
    press(vk::kUp, 190);
    EXPECT_EQ(view().pitch, -170);
    EXPECT_EQ(bar(Id::PitchBar), 170);

    press(vk::kLeft, 181);
    EXPECT_EQ(view().yaw, 179);
    EXPECT_EQ(bar(Id::YawBar), 179);
    release(vk::kShift);

    // The pad's "*" spins about both axes, five times as far with CTRL.
    hold(vk::kControl);
    press(vk::kMultiply);
    EXPECT_EQ(view().pitch, -165);
    EXPECT_EQ(view().yaw, -171);
    EXPECT_EQ(bar(Id::PitchBar), 165);
    EXPECT_EQ(bar(Id::YawBar), -171);
}

TEST_F(ViewControls, PageRequestsClampTheAnglesInsteadOfWrapping) {
    scroll(Id::YawBar, ScrollRequest::PageDown, 20);
    scroll(Id::PitchBar, ScrollRequest::PageUp, 20);
    EXPECT_EQ(view().yaw, 180);
    EXPECT_EQ(bar(Id::YawBar), 180);
    EXPECT_EQ(view().pitch, 180);
    EXPECT_EQ(bar(Id::PitchBar), -180);

    // A line request past the end wraps.
    scroll(Id::YawBar, ScrollRequest::LineDown);
    EXPECT_EQ(bar(Id::YawBar), -179);
}

TEST_F(ViewControls, ZoomByBarAndPadClampsAndScalesByThreePercentAStep) {
    scroll(Id::ZoomBar, ScrollRequest::LineUp, 10);
    EXPECT_EQ(view().zoom, 10);
    EXPECT_EQ(bar(Id::ZoomBar), -10);
    EXPECT_NEAR(view().zoomFactor, 1.3439, 1e-4);

    hold(vk::kControl);
    press(vk::kSubtract, 12);
    EXPECT_EQ(view().zoom, -100);
    EXPECT_EQ(bar(Id::ZoomBar), 100);
    EXPECT_NEAR(view().zoomFactor, 0.052, 1e-3);
    EXPECT_NEAR(view().zoomFactor, std::pow(1.03, -100), 1e-12);
}

TEST_F(ViewControls, EveryScrollMessageDrawsAFrameWhileTheModelViewIsShown) {
    const int before = windows.framesRequested();
    scroll(Id::PanXBar, ScrollRequest::ThumbTrack, 1, 40);
    scroll(Id::PanXBar, ScrollRequest::ThumbTrack, 1, 60);
    scroll(Id::PanXBar, ScrollRequest::EndScroll);
    EXPECT_EQ(windows.framesRequested(), before + 3);
    EXPECT_EQ(view().panX, 60);
    EXPECT_EQ(bar(Id::PanXBar), 60);

    // The thumb of an angle bar sets its whole degrees.
    scroll(Id::PitchBar, ScrollRequest::ThumbPosition, 1, -45);
    EXPECT_EQ(view().pitch, 45);

    shell.state.modelViewActive = false;
    shell.state.textureViewActive = true;
    const int whileEditing = windows.framesRequested();
    scroll(Id::PanXBar, ScrollRequest::ThumbTrack, 1, 10);
    EXPECT_EQ(windows.framesRequested(), whileEditing);
}

TEST_F(ViewControls, ResetByCharacterOrButtonPutsAllFiveBarsAtZero) {
    moveEverything();
    shell.onChar(Window::Main, 'r');
    expectViewReset();

    moveEverything();
    shell.onChar(Window::Main, 'R');
    expectViewReset();

    moveEverything();
    command(Id::ResetViewButton);
    expectViewReset();
    EXPECT_EQ(windows.focusedWindow(), Window::Main);
}

TEST_F(ViewControls, MouseModeCharacterAndButtonToggleTheCaption) {
    shell.onChar(Window::Main, 'M');
    EXPECT_EQ(windows.text(Id::MouseModeButton), "m");
    command(Id::MouseModeButton);
    EXPECT_EQ(windows.text(Id::MouseModeButton), "M");
    EXPECT_EQ(windows.focusedWindow(), Window::Main);
    EXPECT_FALSE(view().mouseRotate);
}

struct IgnoredCase {
    const char* name;
    bool modelOpen;
    bool textureView;
};

class ViewCharactersIgnored : public DocumentFixture,
                              public testing::WithParamInterface<IgnoredCase> {};

TEST_P(ViewCharactersIgnored, MAndRAndTheKeysDoNothing) {
    if (GetParam().modelOpen) {
        writeModel("knight.3do");
        open("knight.3do");
        shell.onKeyDown(Window::Main, vk::kLeft);
    }
    if (GetParam().textureView) {
        shell.state.modelViewActive = false;
        shell.state.textureViewActive = true;
    }
    const ViewState before = shell.state.viewState;
    const int panX = windows.scrollPos(Id::PanXBar);

    for (char c : {'m', 'M', 'r', 'R'})
        shell.onChar(Window::Main, c);
    shell.onKeyDown(Window::Main, vk::kRight);

    EXPECT_EQ(windows.text(Id::MouseModeButton), "M");
    EXPECT_EQ(windows.scrollPos(Id::PanXBar), panX);
    EXPECT_EQ(shell.state.viewState.panX, before.panX);
    EXPECT_EQ(shell.state.viewState.mouseRotate, before.mouseRotate);
}

INSTANTIATE_TEST_SUITE_P(Situations, ViewCharactersIgnored,
                         testing::Values(IgnoredCase{"NoModel", false, false},
                                         IgnoredCase{"TextureView", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewControls, PointerMovesTurnOneDegreeEachOnlyInMouseMode) {
    shell.onPointerMove(100, 100);
    EXPECT_EQ(view().yaw, 0);

    // Measured from the last move the mode saw (none yet: the origin); far right and down is
    // still one degree each.
    shell.onChar(Window::Main, 'm');
    shell.onPointerMove(150, 100);
    EXPECT_EQ(view().yaw, 1);
    EXPECT_EQ(view().pitch, -1);
    EXPECT_EQ(bar(Id::YawBar), 1);
    EXPECT_EQ(bar(Id::PitchBar), 1);

    shell.onPointerMove(150, 90); // up only
    shell.onPointerMove(150, 90); // no move at all
    EXPECT_EQ(view().yaw, 1);
    EXPECT_EQ(view().pitch, 0);
    EXPECT_EQ(bar(Id::PitchBar), 0);

    shell.onChar(Window::Main, 'm');
    shell.onPointerMove(10, 10);
    EXPECT_EQ(view().yaw, 1);
}

} // namespace
} // namespace sw::test
