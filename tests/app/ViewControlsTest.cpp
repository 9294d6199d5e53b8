#include "app/DocumentFixture.h"
#include "app/Navigation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace sw::test {
namespace {

using Id = ControlId;

// One input of the main window: a key (with SHIFT and CTRL held around it as keyDown sees
// them) or a scroll request, repeated.
struct Input {
    int key = 0;
    bool shift = false;
    bool ctrl = false;
    Id bar = Id::PanXBar;
    ScrollRequest request = ScrollRequest::EndScroll;
    int position = 0;
    int times = 1;
};

Input key(int virtualKey, int times = 1, bool shift = false, bool ctrl = false) {
    return {virtualKey, shift, ctrl, Id::PanXBar, ScrollRequest::EndScroll, 0, times};
}
Input scroll(Id bar, ScrollRequest request, int times = 1, int position = 0) {
    return {0, false, false, bar, request, position, times};
}

// The sample-sized triangle open in the 3D view, driven through the main window's handlers.
class ViewControls : public DocumentFixture {
protected:
    void SetUp() override {
        DocumentFixture::SetUp();
        writeModel("knight.3do");
        open("knight.3do");
        ASSERT_TRUE(shell.state.modelViewActive);
    }

    void apply(const Input& input) {
        if (input.shift)
            shell.onKeyDown(Window::Main, vk::kShift);
        if (input.ctrl)
            shell.onKeyDown(Window::Main, vk::kControl);
        for (int i = 0; i < input.times; ++i) {
            if (input.key != 0)
                shell.onKeyDown(Window::Main, input.key);
            else
                shell.onScroll(input.bar, input.request, input.position);
        }
        shell.onKeyUp(Window::Main, vk::kShift);
        shell.onKeyUp(Window::Main, vk::kControl);
    }

    ScrollBarPositions bars() const {
        return {windows.scrollPos(Id::PitchBar), windows.scrollPos(Id::YawBar),
                windows.scrollPos(Id::ZoomBar), windows.scrollPos(Id::PanXBar),
                windows.scrollPos(Id::PanYBar)};
    }
};

struct NavigationCase {
    const char* name;
    std::vector<Input> inputs;
    ScrollBarPositions bars; // pitch (negated), yaw, zoom (negated), pan X, pan Y
};

class ViewNavigation : public ViewControls, public testing::WithParamInterface<NavigationCase> {};

// The bars follow every key and request, and agree with the keys in direction.
TEST_P(ViewNavigation, BarsShowTheResult) {
    for (const Input& input : GetParam().inputs)
        apply(input);
    EXPECT_EQ(bars(), GetParam().bars);
    EXPECT_EQ(bars(), scrollBarPositions(shell.state.viewState));
}

using S = ScrollRequest;
INSTANTIATE_TEST_SUITE_P(
    Inputs, ViewNavigation,
    testing::Values(
        NavigationCase{"LeftStopsAtTheEnd", {key(vk::kLeft, 150)}, {0, 0, 0, -100, 0}},
        // The 180th press gives 180, which stays; the 181st gives -179.
        NavigationCase{"ShiftUpWraps", {key(vk::kUp, 190, true)}, {170, 0, 0, 0, 0}},
        NavigationCase{"CtrlTakesTens",
                       {key(vk::kRight, 3, false, true), key(vk::kDown, 1, false, true),
                        key(vk::kLeft, 2, true, true)},
                       {0, -20, 0, 30, 10}},
        NavigationCase{"UpAndTheBarsUpArrowsAgree",
                       {key(vk::kUp), scroll(Id::PanYBar, S::LineUp), key(vk::kUp, 1, true),
                        scroll(Id::PitchBar, S::LineUp)},
                       {-2, 0, 0, 0, -2}},
        NavigationCase{"PadSpinsAndZooms",
                       {key(vk::kMultiply), key(vk::kMultiply, 1, false, true), key(vk::kAdd, 2),
                        key(vk::kSubtract, 1, false, true)},
                       {-6, 12, 8, 0, 0}},
        NavigationCase{"PagesClampTheAngles",
                       {scroll(Id::YawBar, S::PageDown, 20), scroll(Id::PitchBar, S::PageUp, 20)},
                       {-180, 180, 0, 0, 0}},
        NavigationCase{"LinesWrapTheAngles",
                       {scroll(Id::YawBar, S::PageDown, 20), scroll(Id::YawBar, S::LineDown)},
                       {0, -179, 0, 0, 0}},
        NavigationCase{"ZoomClampsBothWays",
                       {scroll(Id::ZoomBar, S::LineUp, 10), key(vk::kSubtract, 12, false, true)},
                       {0, 0, 100, 0, 0}},
        NavigationCase{"ThumbsSetTheirValue",
                       {scroll(Id::PitchBar, S::ThumbTrack, 1, -45),
                        scroll(Id::ZoomBar, S::ThumbPosition, 1, 20),
                        scroll(Id::PanYBar, S::ThumbTrack, 1, 70), scroll(Id::PanXBar, S::Top),
                        scroll(Id::PanXBar, S::Bottom)},
                       {-45, 0, 20, 0, 70}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewControls, EveryScrollMessageDrawsAFrameWhileTheModelViewIsShown) {
    const int before = windows.framesRequested();
    apply(scroll(Id::PanXBar, S::ThumbTrack, 2, 40));
    apply(scroll(Id::PanXBar, S::EndScroll));
    EXPECT_EQ(windows.framesRequested(), before + 3);

    shell.state.modelViewActive = false;
    shell.state.textureViewActive = true;
    apply(scroll(Id::PanXBar, S::ThumbTrack, 1, 10));
    EXPECT_EQ(windows.framesRequested(), before + 3);
}

// Every bar moved and the mouse mode on; each way of resetting undoes all of it.
TEST_F(ViewControls, ResetByCharacterOrButtonPutsAllFiveBarsAtZero) {
    const auto resets = std::vector<std::function<void()>>{[&] { shell.onChar(Window::Main, 'r'); },
                                                           [&] { shell.onChar(Window::Main, 'R'); },
                                                           [&] { command(Id::ResetViewButton); }};
    for (const auto& reset : resets) {
        for (const Input& input : {key(vk::kLeft), key(vk::kDown), key(vk::kAdd),
                                   key(vk::kLeft, 1, true), key(vk::kUp, 1, true)})
            apply(input);
        shell.onChar(Window::Main, 'm');
        ASSERT_EQ(bars(), (ScrollBarPositions{-1, -1, -1, -1, 1}));
        ASSERT_EQ(windows.text(Id::MouseModeButton), "m");
        reset();
        expectViewReset();
    }
    EXPECT_EQ(windows.focusedWindow(), Window::Main); // the button gives the keyboard back
}

TEST_F(ViewControls, MouseModeTurnsOneDegreePerPointerMove) {
    shell.onPointerMove(100, 100);
    command(Id::MouseModeButton);
    EXPECT_EQ(windows.text(Id::MouseModeButton), "m");
    EXPECT_EQ(windows.focusedWindow(), Window::Main);

    // The move before the mode was on does not count: measured from the origin, far right
    // and down, still one degree each.
    shell.onPointerMove(150, 110);
    EXPECT_EQ(bars(), (ScrollBarPositions{1, 1, 0, 0, 0}));
    shell.onPointerMove(150, 90); // up only
    shell.onPointerMove(150, 90); // no move at all
    EXPECT_EQ(bars(), (ScrollBarPositions{0, 1, 0, 0, 0}));

    shell.onChar(Window::Main, 'M');
    shell.onPointerMove(10, 10);
    EXPECT_EQ(bars(), (ScrollBarPositions{0, 1, 0, 0, 0}));
}

struct IgnoredCase {
    const char* name;
    bool modelOpen;
    bool textureView;
};

class ViewKeysIgnored : public DocumentFixture, public testing::WithParamInterface<IgnoredCase> {};

TEST_P(ViewKeysIgnored, MAndRAndTheArrowsDoNothing) {
    if (GetParam().modelOpen) {
        writeModel("knight.3do");
        open("knight.3do");
        shell.onKeyDown(Window::Main, vk::kLeft);
    }
    if (GetParam().textureView) {
        shell.state.modelViewActive = false;
        shell.state.textureViewActive = true;
    }
    const int panX = windows.scrollPos(Id::PanXBar);

    for (char c : {'m', 'M', 'r', 'R'})
        shell.onChar(Window::Main, c);
    shell.onKeyDown(Window::Main, vk::kRight);

    EXPECT_EQ(windows.text(Id::MouseModeButton), "M");
    EXPECT_FALSE(shell.state.viewState.mouseRotate);
    EXPECT_EQ(windows.scrollPos(Id::PanXBar), panX);
}

INSTANTIATE_TEST_SUITE_P(Situations, ViewKeysIgnored,
                         testing::Values(IgnoredCase{"NoModel", false, false},
                                         IgnoredCase{"TextureView", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sw::test
