#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace sw::test {
namespace {

using enum ControlKind;
constexpr Window M = Window::Main;
constexpr Window O = Window::Options;
constexpr Window P = Window::Controls;

struct ExpectedControl {
    Window parent;
    Id id;
    ControlKind kind;
    const char* text;
    Rect rect;
};

// In the order of their creation: the main window's bars and buttons (as laid out for the
// fake's client area of 504 x 485), the Preferences window's controls, the view, then the
// control panel's.
const std::vector<ExpectedControl> kControls{
    {M, Id::PanYBar, VerticalScrollBar, "", {8, 8, 10, 450}},
    {M, Id::PanXBar, HorizontalScrollBar, "", {29, 469, 448, 10}},
    {M, Id::ZoomBar, VerticalScrollBar, "", {477, 8, 21, 450}},
    {M, Id::PitchBar, VerticalScrollBar, "", {19, 8, 10, 450}},
    {M, Id::YawBar, HorizontalScrollBar, "", {29, 458, 448, 10}},
    {M, Id::MouseModeButton, PushButton, "M", {8, 458, 21, 21}},
    {M, Id::ResetViewButton, PushButton, "R", {477, 458, 21, 21}},
    {O, Id::PriorityGroup, GroupBox, "Texture loading priority", {8, 8, 236, 60}},
    {O, Id::MatFirst, RadioButton, "Try MAT first  (", {16, 26, 88, 16}},
    {O, Id::BmpFallback, CheckBox, "load BMP if MAT fails? )", {106, 26, 134, 16}},
    {O, Id::BmpFirst, RadioButton, "Try BMP first  (", {16, 46, 88, 16}},
    {O, Id::MatFallback, CheckBox, "load MAT if BMP fails? )", {106, 46, 134, 16}},
    {O, Id::PaletteGroup, GroupBox, "CMP palette", {8, 80, 236, 63}},
    {O, Id::FileLabel, Label, "File:", {16, 98, 32, 16}},
    {O, Id::PaletteFile, Label, "Default (no file necessary)", {42, 98, 192, 16}}, // refreshed
    {O, Id::Browse, PushButton, "browse...", {16, 116, 64, 18}},
    {O, Id::DefaultPalette, PushButton, "default", {80, 116, 64, 18}},
    {O, Id::Ok, PushButton, "ok", {61, 159, 64, 18}},
    {O, Id::Cancel, PushButton, "cancel", {125, 159, 64, 18}},
    {M, Id::GlView, ControlKind::GlView, "", {37, 8, 433, 442}},
    {P, Id::MeshGroup, GroupBox, "Mesh", {8, 8, 118, 294}},
    {P, Id::MeshList, ListBox, "", {17, 23, 100, 240}},
    {P, Id::Hide, PushButton, "hide", {17, 256, 30, 18}},
    {P, Id::Wire, PushButton, "wire", {52, 256, 30, 18}},
    {P, Id::Show, PushButton, "show", {87, 256, 30, 18}},
    {P, Id::HideAll, PushButton, "all", {17, 274, 30, 18}},
    {P, Id::WireAll, PushButton, "all", {52, 274, 30, 18}},
    {P, Id::ShowAll, PushButton, "all", {87, 274, 30, 18}},
    {P, Id::TextureGroup, GroupBox, "Texture", {124, 8, 118, 294}},
    {P, Id::TextureList, ListBox, "", {133, 23, 100, 240}},
    {P, Id::SelectNoneTexture, PushButton, "sel none", {133, 256, 100, 18}},
    {P, Id::ChangeTexture, PushButton, "change ...", {133, 274, 100, 18}},
    {P, Id::AutoRemapGroup, GroupBox, "Auto remap", {8, 307, 234, 44}},
    {P, Id::Front, PushButton, "front", {17, 323, 36, 18}},
    {P, Id::Back, PushButton, "back", {53, 323, 36, 18}},
    {P, Id::Top, PushButton, "top", {89, 323, 36, 18}},
    {P, Id::Bottom, PushButton, "bott", {125, 323, 36, 18}},
    {P, Id::Left, PushButton, "left", {161, 323, 36, 18}},
    {P, Id::Right, PushButton, "right", {197, 323, 36, 18}},
    {P, Id::ManualRemapGroup, GroupBox, "Manual remap", {8, 356, 234, 68}},
    {P, Id::Edit, PushButton, "edit", {17, 372, 36, 18}},
    {P, Id::Help, PushButton, "help", {53, 372, 36, 18}},
    {P, Id::SelectionLabel, Label, "sel:", {104, 374, 20, 18}},
    {P, Id::SelectAll, PushButton, "all", {125, 372, 36, 18}},
    {P, Id::SelectNone, PushButton, "none", {161, 372, 36, 18}},
    {P, Id::Invert, PushButton, "inv", {197, 372, 36, 18}},
    {P, Id::Scale, PushButton, "scale", {17, 396, 36, 18}},
    {P, Id::ScaleFactor, EditBox, "", {52, 396, 37, 18}},
    {P, Id::AxisLabel, Label, "on:", {104, 398, 20, 18}},
    {P, Id::AxisX, RadioButton, "x", {125, 398, 36, 18}},
    {P, Id::AxisY, RadioButton, "y", {161, 398, 36, 18}},
    {P, Id::AxisXY, RadioButton, "xy", {197, 398, 36, 18}},
};

using StartUp = ShellFixture;

// Which of them are enabled is the no-model state's business (InterfaceStateTest).
TEST_F(StartUp, CreatesEveryControlInOrderWithItsLabelPlaceAndSizeAndChecksXy) {
    std::vector<Id> expectedOrder;
    for (const ExpectedControl& e : kControls) {
        expectedOrder.push_back(e.id);
        SCOPED_TRACE(toInt(e.id));
        ASSERT_EQ(windows.controls.count(e.id), 1u);
        const auto& c = windows.control(e.id);
        EXPECT_EQ(c.parent, e.parent);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.rect, e.rect);
        if (e.parent == P) { // the Preferences window's checks are its refresh's business
            EXPECT_EQ(c.checked, e.id == Id::AxisXY);
        }
    }
    EXPECT_EQ(windows.creationOrder, expectedOrder);
    EXPECT_EQ(windows.fontFace, "MS Sans Serif");
    EXPECT_EQ(windows.fontCellHeight, 14);
    EXPECT_EQ(windows.createdBeforeFont, 0u); // the font applies to all that follow it
    // Angles run over whole degrees, pan and zoom over steps; every bar starts in the middle.
    for (const auto& [bar, limit] : std::map<Id, int>{{Id::PanYBar, 100},
                                                      {Id::PanXBar, 100},
                                                      {Id::ZoomBar, 100},
                                                      {Id::PitchBar, 180},
                                                      {Id::YawBar, 180}}) {
        const auto& c = windows.control(bar);
        EXPECT_EQ(std::tuple(c.scrollMinimum, c.scrollMaximum, c.scrollPosition),
                  std::tuple(-limit, limit, 0))
            << toInt(bar);
    }
}

TEST_F(StartUp, ShowsTheMainWindowAndTheControlPanelButNotThePreferences) {
    using Expected = std::tuple<Window, std::string, Rect, bool>; // title, place, shown
    for (const auto& [window, title, rect, visible] :
         {Expected{M, "Skinweaver 1.1", {272, 8, 520, 562}, true},
          Expected{P, "Control Panel", {8, 32, 256, 464}, true},
          Expected{O, "Preferences", {16, 40, 256, 216}, false}}) {
        const auto& w = windows.window(window);
        EXPECT_EQ(std::tuple(w.text, w.rect, w.visible), std::tuple(title, rect, visible));
    }
    EXPECT_EQ(windows.registeredClasses, (std::vector<Window>{M, P, O, Window::GlView}));
    // The Preferences window fills its controls once, right after it is built.
    EXPECT_EQ(windows.privateMessages,
              (std::vector<std::pair<Window, PrivateMessage>>{{O, PrivateMessage::Refresh}}));
    EXPECT_TRUE(shell.state.controlPanelVisible);
    EXPECT_TRUE(boxes().empty());
    // The viewport is that of the view as the first layout left it.
    EXPECT_EQ(shell.state.viewportRect.width(), 433);
    EXPECT_EQ(shell.state.viewportRect.height(), 442);
    // The preferences are read first; a first start stores the defaults. The built-in colours
    // are in use, yet the flag that says so starts cleared.
    EXPECT_EQ(fake.settings.values,
              (std::map<std::string, std::string>{{"CmpFile", "Default (no file necessary)"},
                                                  {"PrimaryTex", "MAT"},
                                                  {"SecondaryTex", "BOTH"}}));
    EXPECT_EQ(shell.state.palette.entries[200], (Rgb{0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(shell.state.palette.paletteFilled);
}

// Which items are enabled is the no-model state's business (InterfaceStateTest).
TEST_F(StartUp, BuildsTheMenuWithItsAccessKeysAndSeparators) {
    using enum MenuItemSpec::Kind;
    const std::vector<MenuItemSpec> expected{
        {DropDown, "&File", Id::FileMenu},
        {Item, "&Open...", Id::MenuOpen},
        {Item, "&Revert", Id::MenuRevert},
        {Separator, "", Id::FileMenu},
        {Item, "&Save", Id::MenuSave},
        {Item, "Save &as...", Id::MenuSaveAs},
        {Separator, "", Id::FileMenu},
        {Item, "&Close", Id::MenuClose},
        {DropDown, "&Options", Id::OptionsMenu},
        {Item, "&Preferences...", Id::MenuPreferences},
        {Item, "&Toggle control panel (enter)", Id::MenuToggleControlPanel},
        {Item, "&Re-calculate character offset", Id::MenuRecalculateOffset},
        {Item, "Te&xture sources...", Id::MenuTextureSources},
        {BarItem, "&About...", Id::MenuAbout},
    };
    ASSERT_EQ(windows.menu.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(windows.menu[i].kind, expected[i].kind) << i;
        EXPECT_EQ(windows.menu[i].text, expected[i].text) << i;
        if (expected[i].kind != Separator) {
            EXPECT_EQ(windows.menu[i].id, expected[i].id) << i;
        }
    }
}

// Each failure the window system can report. A failed class registration is named before
// the message every failure ends with.
struct FailureCase {
    const char* name;
    void (*script)(FakeWindowSystem&);
    const char* className; // of a failed registration
};

class StartUpFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(StartUpFailure, TellsTheUserAndEndsTheStart) {
    FakePlatform fake;
    GetParam().script(fake.windows);
    Shell shell(fake.platform);

    EXPECT_FALSE(shell.start());

    std::vector<Box> expected;
    if (GetParam().className != nullptr)
        expected.push_back(
            {Window::None,
             std::string("Window class registration failed for: ") + GetParam().className + ".",
             "Error", kMbIconExclamation});
    expected.push_back(
        {Window::None, "Window creation failed.", "Windows error", kMbIconExclamation});
    EXPECT_EQ(fake.messageBoxes.shown(), expected);
    EXPECT_FALSE(fake.windows.quitCode.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StartUpFailure,
    testing::Values(
        FailureCase{"MainClass", [](auto& w) { w.failRegistration.insert(M); },
                    "Main window class"},
        FailureCase{"ControlsClass", [](auto& w) { w.failRegistration.insert(P); },
                    "Controls window class"},
        FailureCase{"OptionsClass", [](auto& w) { w.failRegistration.insert(O); },
                    "Options window class"},
        FailureCase{"GlViewClass", [](auto& w) { w.failRegistration.insert(Window::GlView); },
                    "OpenGL window class"},
        FailureCase{"MainWindow", [](auto& w) { w.failCreation.insert(M); }, nullptr},
        FailureCase{"PreferencesWindow", [](auto& w) { w.failCreation.insert(O); }, nullptr},
        FailureCase{"GlContext", [](auto& w) { w.failGlContext = true; }, nullptr},
        FailureCase{"ViewSize", [](auto& w) { w.failClientSize = true; }, nullptr}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

} // namespace
} // namespace sw::test
