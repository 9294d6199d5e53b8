#include "app/Navigation.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace sw {

void PrintTo(const ScrollBarPositions& bars, std::ostream* out) {
    *out << "bars pitch " << bars.pitchBar << ", yaw " << bars.yawBar << ", zoom " << bars.zoomBar
         << ", panX " << bars.panXBar << ", panY " << bars.panYBar;
}

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;

// The view state's five navigated values, in the order of the bars.
struct Values {
    double pitch = 0, yaw = 0;
    int zoom = 0, panX = 0, panY = 0;
    bool operator==(const Values&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Values& v) {
    return out << "pitch " << v.pitch << ", yaw " << v.yaw << ", zoom " << v.zoom << ", panX "
               << v.panX << ", panY " << v.panY;
}

Values valuesOf(const ViewState& view) {
    return {view.pitch, view.yaw, view.zoom, view.panX, view.panY};
}

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        model_.extent = 50;
        resetView(view_, model_);
    }

    KeyContext context(int modifiers = 0) const {
        return {&model_, true, (modifiers & kShift) != 0, (modifiers & kCtrl) != 0};
    }

    // Panning moves the eye and the point looked at together, 10 x zoomFactor units a step.
    void expectCameraFollows() const {
        EXPECT_DOUBLE_EQ(view_.eye.x, -10.0 * view_.panX * view_.zoomFactor);
        EXPECT_DOUBLE_EQ(view_.eye.y, -10.0 * view_.panY * view_.zoomFactor);
        EXPECT_EQ(view_.center.x, view_.eye.x);
        EXPECT_EQ(view_.center.y, view_.eye.y);
        EXPECT_EQ(view_.eye.z, -20000);
        EXPECT_EQ(view_.center.z, 0);
    }

    Model model_;
    ViewState view_;
};

struct KeyRow {
    const char* name;
    ViewKey key;
    int modifiers;
    int presses;
    Values expected;
    friend void PrintTo(const KeyRow& row, std::ostream* out) { *out << row.name; }
};

class NavigationKeys : public NavigationTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(NavigationKeys, StepWrapOrClamp) {
    const KeyRow& row = GetParam();
    for (int i = 0; i < row.presses; ++i)
        EXPECT_TRUE(viewKeyDown(view_, static_cast<int>(row.key), context(row.modifiers)));
    EXPECT_EQ(valuesOf(view_), row.expected);
    const Values& v = row.expected;
    EXPECT_EQ(scrollBarPositions(view_),
              (ScrollBarPositions{-static_cast<int>(v.pitch), static_cast<int>(v.yaw), -v.zoom,
                                  v.panX, v.panY}));
    expectCameraFollows();
}

INSTANTIATE_TEST_SUITE_P(
    Presses, NavigationKeys,
    ::testing::Values(
        KeyRow{"LeftStopsAtTheEnd", ViewKey::Left, 0, 150, {.panX = -100}},
        KeyRow{"RightWithCtrl", ViewKey::Right, kCtrl, 3, {.panX = 30}},
        KeyRow{"UpPansDown", ViewKey::Up, 0, 2, {.panY = -2}},
        KeyRow{"DownWithCtrl", ViewKey::Down, kCtrl, 11, {.panY = 100}},
        // The 180th press gives 180, which stays; the 181st wraps to -179.
        KeyRow{"ShiftUpKeeps180", ViewKey::Up, kShift, 180, {.pitch = 180}},
        KeyRow{"ShiftUpWraps", ViewKey::Up, kShift, 190, {.pitch = -170}},
        KeyRow{"ShiftDownWithCtrl", ViewKey::Down, kShift | kCtrl, 19, {.pitch = 170}},
        KeyRow{"ShiftLeftKeepsMinus180", ViewKey::Left, kShift, 180, {.yaw = -180}},
        KeyRow{"ShiftLeftWraps", ViewKey::Left, kShift, 181, {.yaw = 179}},
        KeyRow{"ShiftRightWithCtrl", ViewKey::Right, kShift | kCtrl, 19, {.yaw = -170}},
        KeyRow{"PadMultiplySpins", ViewKey::PadMultiply, kShift, 3, {.pitch = 3, .yaw = 6}},
        KeyRow{"PadMultiplyWithCtrl", ViewKey::PadMultiply, kCtrl, 19, {.pitch = 95, .yaw = -170}},
        KeyRow{"PadAddWithCtrl", ViewKey::PadAdd, kCtrl | kShift, 11, {.zoom = 100}},
        KeyRow{"PadSubtract", ViewKey::PadSubtract, 0, 4, {.zoom = -4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavigationTest, KeysAndCharactersNeedTheModelViewAndAModel) {
    for (const KeyContext& off : {KeyContext{&model_, false}, KeyContext{nullptr, true}}) {
        EXPECT_FALSE(viewKeyDown(view_, static_cast<int>(ViewKey::Left), off));
        EXPECT_EQ(viewCharacter(view_, 'm', off), ViewCommand::None);
        EXPECT_EQ(viewCharacter(view_, 'R', off), ViewCommand::None);
    }
    EXPECT_FALSE(viewKeyDown(view_, 'A', context()));
    EXPECT_EQ(viewCharacter(view_, 'x', context()), ViewCommand::None);
    EXPECT_EQ(valuesOf(view_), Values{});
    EXPECT_FALSE(view_.mouseRotate);
}

TEST_F(NavigationTest, MouseModeCharacterEitherCaseTogglesTheButtonCaption) {
    EXPECT_EQ(viewCharacter(view_, 'm', context()), ViewCommand::ToggleMouseMode);
    EXPECT_TRUE(view_.mouseRotate);
    EXPECT_EQ(mouseModeCaption(view_), "m");
    EXPECT_EQ(viewCharacter(view_, 'M', context()), ViewCommand::ToggleMouseMode);
    EXPECT_FALSE(view_.mouseRotate);
    EXPECT_EQ(mouseModeCaption(view_), "M");
}

TEST_F(NavigationTest, ResetPutsEveryBarAtZeroAndFitsTheModel) {
    for (int key : {37, 38, 106, 107})
        viewKeyDown(view_, key, context(kCtrl));
    toggleMouseRotate(view_);
    model_.extent = 250; // a Revert may bring another model
    EXPECT_EQ(viewCharacter(view_, 'r', context()), ViewCommand::ResetView);
    EXPECT_EQ(scrollBarPositions(view_), ScrollBarPositions{});
    EXPECT_EQ(valuesOf(view_), Values{});
    EXPECT_EQ(mouseModeCaption(view_), "M");
    EXPECT_EQ(view_.modelScale, 4);
    EXPECT_EQ(view_.panScaleX, 0.4);
    EXPECT_EQ(view_.panScaleY, 0.4);
    EXPECT_EQ(view_.zoomFactor, 1);
    EXPECT_EQ(view_.up.y, 1);
    expectCameraFollows();
}

struct ScrollRow {
    const char* name;
    ViewBar bar;
    int request;
    int pos;
    int times;
    bool handled;
    Values expected;
    friend void PrintTo(const ScrollRow& row, std::ostream* out) { *out << row.name; }
};

class NavigationScroll : public NavigationTest, public ::testing::WithParamInterface<ScrollRow> {};

TEST_P(NavigationScroll, MovesItsOwnValueAsTheBarShowsIt) {
    const ScrollRow& row = GetParam();
    for (int i = 0; i < row.times; ++i)
        EXPECT_EQ(applyScrollRequest(view_, row.bar, row.request, row.pos), row.handled);
    EXPECT_EQ(valuesOf(view_), row.expected);
    expectCameraFollows();
}

INSTANTIATE_TEST_SUITE_P(
    Requests, NavigationScroll,
    ::testing::Values(
        // Lines wrap, pages and thumb clamp.
        ScrollRow{"PitchLineUpWraps", ViewBar::Pitch, kSbLineUp, 0, 181, true, {.pitch = -179}},
        ScrollRow{"PitchPageUpClamps", ViewBar::Pitch, kSbPageUp, 0, 19, true, {.pitch = 180}},
        ScrollRow{"PitchPageDownClamps", ViewBar::Pitch, kSbPageDown, 0, 19, true, {.pitch = -180}},
        ScrollRow{"PitchThumbNegated", ViewBar::Pitch, kSbThumbTrack, -30, 1, true, {.pitch = 30}},
        ScrollRow{"YawLineDownWraps", ViewBar::Yaw, kSbLineDown, 0, 181, true, {.yaw = -179}},
        ScrollRow{"YawPageDownClamps", ViewBar::Yaw, kSbPageDown, 0, 19, true, {.yaw = 180}},
        ScrollRow{"YawPageUpClamps", ViewBar::Yaw, kSbPageUp, 0, 19, true, {.yaw = -180}},
        ScrollRow{"YawThumb", ViewBar::Yaw, kSbThumbPosition, -45, 1, true, {.yaw = -45}},
        ScrollRow{"ZoomLineUpEnlarges", ViewBar::Zoom, kSbLineUp, 0, 3, true, {.zoom = 3}},
        ScrollRow{"ZoomPageDownClamps", ViewBar::Zoom, kSbPageDown, 0, 11, true, {.zoom = -100}},
        ScrollRow{"ZoomThumbNegated", ViewBar::Zoom, kSbThumbTrack, 20, 1, true, {.zoom = -20}},
        ScrollRow{"ZoomThumbClamps", ViewBar::Zoom, kSbThumbTrack, -300, 1, true, {.zoom = 100}},
        ScrollRow{"PanXPageUpClamps", ViewBar::PanX, kSbPageUp, 0, 11, true, {.panX = -100}},
        ScrollRow{"PanXThumb", ViewBar::PanX, kSbThumbPosition, 7, 1, true, {.panX = 7}},
        ScrollRow{"PanYLineUp", ViewBar::PanY, kSbLineUp, 0, 2, true, {.panY = -2}},
        ScrollRow{"PanYThumb", ViewBar::PanY, kSbThumbTrack, -100, 1, true, {.panY = -100}},
        ScrollRow{"TopChangesNothing", ViewBar::Yaw, kSbTop, 0, 1, false, {}},
        ScrollRow{"BottomChangesNothing", ViewBar::Zoom, kSbBottom, 0, 1, false, {}},
        ScrollRow{"EndChangesNothing", ViewBar::PanX, kSbEndScroll, 50, 1, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavigationTest, ThumbReplacesTheWholeDegreesOnly) {
    view_.pitch = -10.5;
    applyScrollRequest(view_, ViewBar::Pitch, kSbThumbTrack, -20);
    EXPECT_EQ(view_.pitch, 19.5);
    EXPECT_EQ(scrollBarPosition(view_, ViewBar::Pitch), -19);
}

TEST_F(NavigationTest, ZoomScalesByThreePercentAStepAndMovesThePannedCamera) {
    stepPanX(view_, 5);
    stepPanY(view_, -3);
    stepZoom(view_, 10);
    EXPECT_NEAR(view_.zoomFactor, 1.3439, 1e-4);
    expectCameraFollows();
    stepZoom(view_, -110);
    EXPECT_NEAR(view_.zoomFactor, 0.0520, 1e-4);
    expectCameraFollows();
}

TEST_F(NavigationTest, PointerMovesTurnOneDegreeWhateverTheDistance) {
    rotateByPointerMove(view_, 50, 0);
    rotateByPointerMove(view_, 0, -7);
    EXPECT_EQ(valuesOf(view_), (Values{.pitch = 1, .yaw = 1}));
    rotateByPointerMove(view_, -1, 3);
    EXPECT_EQ(valuesOf(view_), Values{});
    view_.yaw = 180;
    rotateByPointerMove(view_, 2, 0);
    EXPECT_EQ(view_.yaw, -179);
}

// A model of one vertex, or of vertices all on one point, has extent 0; one without vertices
// keeps its huge negative start value. None may turn the view's scales infinite or NaN.
class NavigationExtent : public NavigationTest, public ::testing::WithParamInterface<double> {};

TEST_P(NavigationExtent, UnusableExtentGivesFiniteView) {
    model_.extent = GetParam();
    resetView(view_, model_);
    EXPECT_EQ(view_.modelScale, 1000);
    EXPECT_EQ(view_.panScaleX, 100);
    stepZoom(view_, 100);
    stepPanX(view_, -100);
    stepPanY(view_, 100);
    for (double value : {view_.eye.x, view_.eye.y, view_.center.x, view_.center.y, view_.zoomFactor,
                         view_.panScaleY})
        EXPECT_TRUE(std::isfinite(value)) << value;
}

INSTANTIATE_TEST_SUITE_P(Degenerate, NavigationExtent,
                         ::testing::Values(0.0, -0.0, -1.7e300, 1e-300,
                                           std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity(), 1e308));

} // namespace
} // namespace sw
