#include "app/Shell.h"
#include "app/ShellFixture.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace sw::test {
namespace {

using Id = ControlId;
using Kind = ControlKind;

struct ExpectedControl {
    Id id;
    Window parent;
    Kind kind;
    const char* text;
    Rect rect;
};

// The main window's children as laid out for the fake's client area of 504 x 485.
const std::vector<ExpectedControl> kMainChildren{
    {Id::PanYBar, Window::Main, Kind::VerticalScrollBar, "", {8, 8, 10, 450}},
    {Id::PanXBar, Window::Main, Kind::HorizontalScrollBar, "", {29, 469, 448, 10}},
    {Id::ZoomBar, Window::Main, Kind::VerticalScrollBar, "", {477, 8, 21, 450}},
    {Id::PitchBar, Window::Main, Kind::VerticalScrollBar, "", {19, 8, 10, 450}},
    {Id::YawBar, Window::Main, Kind::HorizontalScrollBar, "", {29, 458, 448, 10}},
    {Id::MouseModeButton, Window::Main, Kind::PushButton, "M", {8, 458, 21, 21}},
    {Id::ResetViewButton, Window::Main, Kind::PushButton, "R", {477, 458, 21, 21}},
};

const std::vector<ExpectedControl> kOptionsChildren{
    {Id::PriorityGroup,
     Window::Options,
     Kind::GroupBox,
     "Texture loading priority",
     {8, 8, 236, 60}},
    {Id::MatFirst, Window::Options, Kind::RadioButton, "Try MAT first  (", {16, 26, 88, 16}},
    {Id::BmpFallback,
     Window::Options,
     Kind::CheckBox,
     "load BMP if MAT fails? )",
     {106, 26, 134, 16}},
    {Id::BmpFirst, Window::Options, Kind::RadioButton, "Try BMP first  (", {16, 46, 88, 16}},
    {Id::MatFallback,
     Window::Options,
     Kind::CheckBox,
     "load MAT if BMP fails? )",
     {106, 46, 134, 16}},
    {Id::PaletteGroup, Window::Options, Kind::GroupBox, "CMP palette", {8, 80, 236, 63}},
    {Id::FileLabel, Window::Options, Kind::Label, "File:", {16, 98, 32, 16}},
    {Id::PaletteFile, Window::Options, Kind::Label, "", {42, 98, 192, 16}},
    {Id::Browse, Window::Options, Kind::PushButton, "browse...", {16, 116, 64, 18}},
    {Id::DefaultPalette, Window::Options, Kind::PushButton, "default", {80, 116, 64, 18}},
    {Id::Ok, Window::Options, Kind::PushButton, "ok", {61, 159, 64, 18}},
    {Id::Cancel, Window::Options, Kind::PushButton, "cancel", {125, 159, 64, 18}},
};

const std::vector<ExpectedControl> kGlView{
    {Id::GlView, Window::Main, Kind::GlView, "", {37, 8, 433, 442}},
};

constexpr Window P = Window::Controls;
const std::vector<ExpectedControl> kPanelChildren{
    {Id::MeshGroup, P, Kind::GroupBox, "Mesh", {8, 8, 118, 294}},
    {Id::MeshList, P, Kind::ListBox, "", {17, 23, 100, 240}},
    {Id::Hide, P, Kind::PushButton, "hide", {17, 256, 30, 18}},
    {Id::Wire, P, Kind::PushButton, "wire", {52, 256, 30, 18}},
    {Id::Show, P, Kind::PushButton, "show", {87, 256, 30, 18}},
    {Id::HideAll, P, Kind::PushButton, "all", {17, 274, 30, 18}},
    {Id::WireAll, P, Kind::PushButton, "all", {52, 274, 30, 18}},
    {Id::ShowAll, P, Kind::PushButton, "all", {87, 274, 30, 18}},
    {Id::TextureGroup, P, Kind::GroupBox, "Texture", {124, 8, 118, 294}},
    {Id::TextureList, P, Kind::ListBox, "", {133, 23, 100, 240}},
    {Id::SelectNoneTexture, P, Kind::PushButton, "sel none", {133, 256, 100, 18}},
    {Id::ChangeTexture, P, Kind::PushButton, "change ...", {133, 274, 100, 18}},
    {Id::AutoRemapGroup, P, Kind::GroupBox, "Auto remap", {8, 307, 234, 44}},
    {Id::Front, P, Kind::PushButton, "front", {17, 323, 36, 18}},
    {Id::Back, P, Kind::PushButton, "back", {53, 323, 36, 18}},
    {Id::Top, P, Kind::PushButton, "top", {89, 323, 36, 18}},
    {Id::Bottom, P, Kind::PushButton, "bott", {125, 323, 36, 18}},
    {Id::Left, P, Kind::PushButton, "left", {161, 323, 36, 18}},
    {Id::Right, P, Kind::PushButton, "right", {197, 323, 36, 18}},
    {Id::ManualRemapGroup, P, Kind::GroupBox, "Manual remap", {8, 356, 234, 68}},
    {Id::Edit, P, Kind::PushButton, "edit", {17, 372, 36, 18}},
    {Id::Help, P, Kind::PushButton, "help", {53, 372, 36, 18}},
    {Id::SelectionLabel, P, Kind::Label, "sel:", {104, 374, 20, 18}},
    {Id::SelectAll, P, Kind::PushButton, "all", {125, 372, 36, 18}},
    {Id::SelectNone, P, Kind::PushButton, "none", {161, 372, 36, 18}},
    {Id::Invert, P, Kind::PushButton, "inv", {197, 372, 36, 18}},
    {Id::Scale, P, Kind::PushButton, "scale", {17, 396, 36, 18}},
    {Id::ScaleFactor, P, Kind::EditBox, "", {52, 396, 37, 18}},
    {Id::AxisLabel, P, Kind::Label, "on:", {104, 398, 20, 18}},
    {Id::AxisX, P, Kind::RadioButton, "x", {125, 398, 36, 18}},
    {Id::AxisY, P, Kind::RadioButton, "y", {161, 398, 36, 18}},
    {Id::AxisXY, P, Kind::RadioButton, "xy", {197, 398, 36, 18}},
};

using StartUp = ShellFixture;

TEST_F(StartUp, CreatesEveryControlInOrderWithItsLabelPlaceAndSize) {
    // Bars and buttons, the Preferences window's controls, the view, then the control panel's.
    std::vector<ExpectedControl> expected = kMainChildren;
    for (const auto* group : {&kOptionsChildren, &kGlView, &kPanelChildren})
        expected.insert(expected.end(), group->begin(), group->end());

    std::vector<Id> expectedOrder;
    for (const ExpectedControl& e : expected) {
        expectedOrder.push_back(e.id);
        SCOPED_TRACE(toInt(e.id));
        ASSERT_TRUE(windows.hasControl(e.id));
        const auto& c = windows.control(e.id);
        EXPECT_EQ(c.parent, e.parent);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.rect, e.rect);
        const bool scrollBar =
            e.kind == Kind::VerticalScrollBar || e.kind == Kind::HorizontalScrollBar;
        EXPECT_EQ(c.hasFont, !scrollBar);
    }
    EXPECT_EQ(windows.creationOrder(), expectedOrder);
    EXPECT_EQ(windows.fontFace(), "MS Sans Serif");
    EXPECT_EQ(windows.fontCellHeight(), 14);
}

TEST_F(StartUp, ShowsTheMainWindowAndTheControlPanelButNotThePreferences) {
    struct Expected {
        Window window;
        const char* title;
        Rect rect;
        bool visible;
    };
    for (const Expected& e :
         {Expected{Window::Main, "Skinweaver 1.1", {272, 8, 520, 562}, true},
          Expected{Window::Controls, "Control Panel", {8, 32, 256, 464}, true},
          Expected{Window::Options, "Preferences", {16, 40, 256, 216}, false}}) {
        SCOPED_TRACE(e.title);
        const auto& w = windows.window(e.window);
        EXPECT_EQ(w.title, e.title);
        EXPECT_EQ(w.rect, e.rect);
        EXPECT_EQ(w.visible, e.visible);
        EXPECT_TRUE(w.hasFont);
    }
    EXPECT_EQ(windows.registeredClasses(), (std::vector<Window>{Window::Main, Window::Controls,
                                                                Window::Options, Window::GlView}));
    // The Preferences window fills its controls once, right after it is built.
    EXPECT_EQ(windows.privateMessages(), (std::vector<std::pair<Window, PrivateMessage>>{
                                             {Window::Options, PrivateMessage::Refresh}}));
    EXPECT_TRUE(shell.state.controlPanelVisible);
    EXPECT_TRUE(fake.messageBoxes.shown().empty());
}

TEST_F(StartUp, BuildsTheMenuWithItsAccessKeysAndOnlyOpenEnabledOfTheFileItems) {
    using K = MenuItemSpec::Kind;
    struct Expected {
        K kind;
        std::string text;
        Id id;
        bool enabled;
    };
    const std::vector<Expected> expected{
        {K::DropDown, "&File", Id::FileMenu, true},
        {K::Item, "&Open...", Id::MenuOpen, true},
        {K::Item, "&Revert", Id::MenuRevert, false},
        {K::Separator, "", Id::FileMenu, true},
        {K::Item, "&Save", Id::MenuSave, false},
        {K::Item, "Save &as...", Id::MenuSaveAs, false},
        {K::Separator, "", Id::FileMenu, true},
        {K::Item, "&Close", Id::MenuClose, false},
        {K::DropDown, "&Options", Id::OptionsMenu, true},
        {K::Item, "&Preferences...", Id::MenuPreferences, true},
        {K::Item, "&Toggle control panel (enter)", Id::MenuToggleControlPanel, true},
        {K::Item, "&Re-calculate character offset", Id::MenuRecalculateOffset, true},
        {K::BarItem, "&About...", Id::MenuAbout, true},
    };
    const auto& menu = windows.menu();
    ASSERT_EQ(menu.size(), expected.size());
    for (std::size_t i = 0; i < menu.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu[i].desc.kind, expected[i].kind);
        EXPECT_EQ(menu[i].desc.text, expected[i].text);
        if (expected[i].kind != K::Separator) {
            EXPECT_EQ(menu[i].desc.id, expected[i].id);
            EXPECT_EQ(menu[i].enabled, expected[i].enabled);
        }
    }
}

TEST_F(StartUp, GreysTheControlPanelAndTheViewAndChecksXy) {
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::NoModel);
    for (const ExpectedControl& e : kPanelChildren) {
        SCOPED_TRACE(toInt(e.id));
        EXPECT_FALSE(windows.control(e.id).enabled);
        EXPECT_EQ(windows.control(e.id).checked, e.id == Id::AxisXY);
    }
    for (const auto* group : {&kMainChildren, &kGlView}) {
        for (const ExpectedControl& e : *group)
            EXPECT_FALSE(windows.control(e.id).enabled) << toInt(e.id);
    }
    for (const ExpectedControl& e : kOptionsChildren)
        EXPECT_TRUE(windows.control(e.id).enabled) << toInt(e.id);

    struct Range {
        Id bar;
        int minimum;
        int maximum;
    };
    for (const Range& r : {Range{Id::PanYBar, -100, 100}, Range{Id::PanXBar, -100, 100},
                           Range{Id::ZoomBar, -100, 100}, Range{Id::PitchBar, -180, 180},
                           Range{Id::YawBar, -180, 180}}) {
        const auto& bar = windows.control(r.bar);
        EXPECT_EQ(bar.scrollMinimum, r.minimum) << toInt(r.bar);
        EXPECT_EQ(bar.scrollMaximum, r.maximum) << toInt(r.bar);
        EXPECT_EQ(bar.scrollPosition, 0) << toInt(r.bar);
    }
}

TEST_F(StartUp, SetsUpTheViewportOfTheLaidOutView) {
    EXPECT_EQ(shell.state.viewportRect.width(), 433);
    EXPECT_EQ(shell.state.viewportRect.height(), 442);
    EXPECT_FALSE(shell.state.modelViewActive);
    EXPECT_FALSE(shell.state.textureViewActive);
    EXPECT_EQ(shell.state.currentModel, nullptr);
    EXPECT_TRUE(shell.state.currentFileName.empty());
}

TEST(StartUpPreferences, AreReadBeforeTheWindowsAndAFirstStartStoresTheDefaults) {
    FakePlatform first;
    Shell shell(first.platform);
    ASSERT_TRUE(shell.start());
    EXPECT_EQ(first.settings.values,
              (std::map<std::string, std::string>{{"CmpFile", "Default (no file necessary)"},
                                                  {"PrimaryTex", "MAT"},
                                                  {"SecondaryTex", "BOTH"}}));
    // The built-in colours are in use, yet the flag that says so starts cleared.
    EXPECT_EQ(shell.state.palette.entries[200], (Rgb{0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(shell.state.palette.paletteFilled);

    TempDir dir;
    FakePlatform again;
    again.settings.exists = true;
    again.settings.values = {{"CmpFile", dir.write("bad.cmp", std::string(900, 'x'))},
                             {"PrimaryTex", "BMP"},
                             {"SecondaryTex", "NONE"}};
    Shell second(again.platform);
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.state.preferences.primaryFormat, TextureFormat::Bmp);
    EXPECT_FALSE(second.state.preferences.loadBmpIfMatFails);
    // No window exists yet to own the palette's complaint.
    ASSERT_EQ(again.messageBoxes.shown().size(), 1u);
    EXPECT_EQ(again.messageBoxes.shown()[0].caption, "Invalid CMP File");
    EXPECT_EQ(again.messageBoxes.shown()[0].owner, Window::None);
    EXPECT_EQ(second.state.preferences.cmpFile, "Default (no file necessary)");
}

// Each failure the window system can report, and what the user is told.
struct FailureCase {
    const char* name;
    void (*script)(FakeWindowSystem&);
    std::vector<std::string> texts;
};

class StartUpFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(StartUpFailure, TellsTheUserAndEndsTheStart) {
    FakePlatform fake;
    GetParam().script(fake.windows);
    Shell shell(fake.platform);

    EXPECT_FALSE(shell.start());

    const auto& shown = fake.messageBoxes.shown();
    ASSERT_EQ(shown.size(), GetParam().texts.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, GetParam().texts[i]);
        EXPECT_EQ(shown[i].caption, i + 1 == shown.size() ? "Windows error" : "Error");
        EXPECT_EQ(shown[i].style, kMbIconExclamation);
        EXPECT_EQ(shown[i].owner, Window::None);
    }
    EXPECT_FALSE(fake.windows.quitCode().has_value());
}

const char* const kCreationFailed = "Window creation failed.";

INSTANTIATE_TEST_SUITE_P(
    Steps, StartUpFailure,
    testing::Values(
        FailureCase{"MainClass",
                    [](FakeWindowSystem& w) { w.failRegistration.insert(Window::Main); },
                    {"Window class registration failed for: Main window class.", kCreationFailed}},
        FailureCase{
            "ControlsClass",
            [](FakeWindowSystem& w) { w.failRegistration.insert(Window::Controls); },
            {"Window class registration failed for: Controls window class.", kCreationFailed}},
        FailureCase{
            "OptionsClass",
            [](FakeWindowSystem& w) { w.failRegistration.insert(Window::Options); },
            {"Window class registration failed for: Options window class.", kCreationFailed}},
        FailureCase{
            "GlViewClass",
            [](FakeWindowSystem& w) { w.failRegistration.insert(Window::GlView); },
            {"Window class registration failed for: OpenGL window class.", kCreationFailed}},
        FailureCase{"MainWindow",
                    [](FakeWindowSystem& w) { w.failCreation.insert(Window::Main); },
                    {kCreationFailed}},
        FailureCase{"PreferencesWindow",
                    [](FakeWindowSystem& w) { w.failCreation.insert(Window::Options); },
                    {kCreationFailed}},
        FailureCase{
            "GlContext", [](FakeWindowSystem& w) { w.failGlContext = true; }, {kCreationFailed}},
        FailureCase{
            "ViewSize", [](FakeWindowSystem& w) { w.failClientSize = true; }, {kCreationFailed}}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

} // namespace
} // namespace sw::test
