// The shell started on the in-memory platform: its windows and their states, the main window's
// events, the navigation of the 3D view and the control panel.

#include "app/ControlPanel.h"
#include "app/Navigation.h"
#include "app/ShellFixture.h"
#include "app/ViewportInput.h"
#include "platform/MessageBoxF.h"
#include "support/TextureFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace sw::test {
namespace {

// The main window's bars and buttons are laid out for the fake's client area of 504 x 485;
// every scroll bar starts in the middle of its range. Which controls are enabled is the
// no-model state's (tests/data/interface-states.txt). The Preferences window's checks and
// palette label are the settings', filled in right after the window is built.
TEST_F(ShellFixture, StartBuildsTheWindowsTheirControlsAndTheMenuAndShowsAllButThePreferences) {
    EXPECT_EQ(windows.tree(), test::dataFile("startup.txt"));
    // The font applies to all that follow it.
    EXPECT_EQ(std::tuple(windows.fontFace, windows.fontCellHeight, windows.createdBeforeFont),
              std::tuple("MS Sans Serif", 14, 0u));
    EXPECT_TRUE(boxes().empty());
    // The viewport is that of the view as the first layout left it.
    const ViewportRect& viewport = shell.state.viewportRect;
    EXPECT_EQ(std::pair(viewport.width(), viewport.height()), std::pair(433, 442));
    // The preferences are read first; a first start stores the defaults. The built-in colours
    // are in use, yet the flag that says so starts cleared.
    EXPECT_EQ(fake.settings.values, kDefaultSettings);
    EXPECT_EQ(shell.state.palette.entries[200], (Rgb{0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(shell.state.palette.paletteFilled);
}

// Each failure the window system can report. A failed class registration is named before
// the message every failure ends with.
TEST(StartUpFailure, TellsTheUserAndEndsTheStart) {
    const std::pair<void (*)(FakeWindowSystem&), const char*> failures[] = {
        {[](auto& w) { w.failRegistration.insert(Window::Main); }, "Main window class"},
        {[](auto& w) { w.failRegistration.insert(Window::Controls); }, "Controls window class"},
        {[](auto& w) { w.failRegistration.insert(Window::Options); }, "Options window class"},
        {[](auto& w) { w.failRegistration.insert(Window::GlView); }, "OpenGL window class"},
        {[](auto& w) { w.failCreation.insert(Window::Main); }, nullptr},
        {[](auto& w) { w.failCreation.insert(Window::Options); }, nullptr},
        {[](auto& w) { w.failGlContext = true; }, nullptr},
        {[](auto& w) { w.failClientSize = true; }, nullptr}};
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const auto& [script, className] = failures[i];
        FakePlatform fake;
        script(fake.windows);
        Shell shell(fake.platform);
        EXPECT_FALSE(shell.start());
        std::vector<Box> expected;
        const std::string classFailure = "Window class registration failed for: ";
        if (className != nullptr)
            expected.push_back(
                {Window::None, classFailure + className + ".", "Error", kMbIconExclamation});
        expected.push_back(
            {Window::None, "Window creation failed.", "Windows error", kMbIconExclamation});
        EXPECT_EQ(fake.messageBoxes.shown(), expected);
        EXPECT_FALSE(fake.windows.quitCode.has_value());
    }
}

using enum InterfaceState;

// Opening or closing a model, as Open and Close change the interface.
void setModelOpen(ShellState& shell, WindowSystem& windows, bool open) {
    if (open)
        enterModelOpenState(shell, windows);
    else
        enterNoModelState(shell, windows);
    enableFileMenu(windows, open);
}

// Walked from the start through the states in the order a user reaches them first, the
// controls give the table of tests/data/interface-states.txt, each with its caption at the
// start; reached again another way, a state enables the same. Greying changes no check and
// no caption but the edit button's.
TEST_F(ShellFixture, InterfaceStatesEnableWhatTheTableSaysHoweverTheyAreReached) {
    const struct {
        void (*step)(ShellState&, WindowSystem&, bool);
        bool on;
        InterfaceState state; // after the step
    } walk[] = {{setModelOpen, true, ModelOpen},      {setTextureChosen, true, TextureChosen},
                {setEditing, true, Editing},          {setEditing, false, TextureChosen},
                {setTextureChosen, false, ModelOpen}, {setTextureChosen, true, TextureChosen},
                {setEditing, true, Editing},          {setModelOpen, false, NoModel},
                {setModelOpen, true, ModelOpen}};
    const auto labels = [this] {
        std::map<Id, std::pair<std::string, bool>> all;
        for (const auto& [id, control] : windows.controls)
            all[id] = {control.text, control.checked};
        return all;
    };
    const auto atStart = labels();
    std::map<Id, std::string> enabled;
    const auto record = [&] {
        for (const auto& [id, control] : windows.controls)
            enabled[id] += control.enabled ? '+' : '-';
    };
    record();
    for (std::size_t i = 0; i < std::size(walk); ++i) {
        walk[i].step(shell.state, windows, walk[i].on);
        EXPECT_EQ(shell.state.interfaceState, walk[i].state) << "step " << i;
        auto expected = atStart;
        expected[Id::Edit].first = walk[i].state == Editing ? "return" : "edit";
        EXPECT_EQ(labels(), expected) << "step " << i;
        if (i < 3)
            record();
        else
            expectState(walk[i].state);
    }
    std::string table;
    for (const auto& [id, flags] : enabled)
        table += std::to_string(toInt(id)) + ' ' + flags + " \"" + atStart.at(id).first + "\"\n";
    EXPECT_EQ(table, dataFile("interface-states.txt"));
}

// The layout at the first size is in tests/data/startup.txt. A window too small for its frame
// gives zero or negative sizes, passed on as they are; a bar keeps its position when it moves.
// The view's own size sets the viewport and asks for a frame.
TEST_F(ShellFixture, LayoutFollowsTheWindowsSizeAndTheViewportTheViews) {
    windows.setScrollPos(Id::PitchBar, 17);
    shell.onSize(Window::Main, 20, 10);
    EXPECT_EQ(windows.control(Id::GlView).rect, (Rect{37, 8, -51, -33}));
    EXPECT_EQ(windows.control(Id::YawBar).rect, (Rect{29, -17, -36, 10}));
    EXPECT_EQ(windows.scrollPos(Id::PitchBar), 17);

    const int framesBefore = windows.framesRequested;
    shell.onSize(Window::GlView, 300, 200);
    const ViewportRect& rect = shell.state.viewportRect;
    EXPECT_EQ(std::pair(rect.width(), rect.height()), std::pair(300, 200));
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 300, 200}));
    EXPECT_GT(windows.framesRequested, framesBefore);
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

    decltype(shell.state.keyDown) held{};
    held[vk::kControl] = true;
    EXPECT_EQ(shell.state.keyDown, held);
}

// A path passed as an argument shows verbatim and whole, however long.
TEST(MessageBoxF, FormatsByPrintfAndShowsOneOkButton) {
    FakeMessageBox boxes;
    const std::string path = "C:\\100% done\\" + std::string(300, 'x') + ".cmp";
    messageBoxF(boxes, Window::Main, "Caption", "%d of %s at %.2f", 3, path.c_str(), 0.5);
    EXPECT_EQ(boxes.shown(),
              (std::vector<Box>{{Window::Main, "3 of " + path + " at 0.50", "Caption", kMbOk}}));
}

constexpr int kShift = 1;
constexpr int kCtrl = 2;

// One input of the main window: a key (with SHIFT and CTRL held around it as keyDown sees
// them) or a scroll request, repeated.
struct Input {
    int key = 0, modifiers = 0;
    Id bar = Id::PanXBar;
    ScrollRequest request = ScrollRequest::EndScroll;
    int position = 0, times = 1;
};

Input key(int virtualKey, int times = 1, int modifiers = 0) {
    return {.key = virtualKey, .modifiers = modifiers, .times = times};
}
Input scroll(Id bar, ScrollRequest request, int times = 1, int position = 0) {
    return {.bar = bar, .request = request, .position = position, .times = times};
}

// The view state's five navigated values, in the order of the bars.
struct Values {
    double pitch = 0, yaw = 0;
    int zoom = 0, panX = 0, panY = 0;
    auto tuple() const { return std::tuple(pitch, yaw, zoom, panX, panY); }
};

// The triangle open in the 3D view, driven through the main window's handlers.
class Navigation : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        openKnight();
    }

    void apply(const Input& input) {
        if ((input.modifiers & kShift) != 0)
            shell.onKeyDown(Window::Main, vk::kShift);
        if ((input.modifiers & kCtrl) != 0)
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
};

// Steps wrap (lines, keys) or clamp (pages, thumb, pan and zoom); the bars show the result,
// pitch and zoom negated so that moving either thumb up adds to it. Each row starts from a
// reset view.
TEST_F(Navigation, InputsMoveTheViewAndTheBarsShowIt) {
    using S = ScrollRequest;
    const std::pair<std::vector<Input>, Values> rows[] = {
        // Left stops at the end; Up pans down; CTRL takes steps of ten.
        {{key(vk::kLeft, 150)}, {.panX = -100}},
        {{key(vk::kUp, 2)}, {.panY = -2}},
        {{key(vk::kRight, 3, kCtrl), key(vk::kDown, 11, kCtrl)}, {.panX = 30, .panY = 100}},
        // SHIFT turns: the 180th press gives 180 (or -180), which stays; the next wraps.
        {{key(vk::kUp, 180, kShift), key(vk::kLeft, 180, kShift)}, {.pitch = 180, .yaw = -180}},
        {{key(vk::kUp, 190, kShift), key(vk::kLeft, 181, kShift)}, {.pitch = -170, .yaw = 179}},
        {{key(vk::kDown, 19, kShift | kCtrl), key(vk::kRight, 19, kShift | kCtrl)},
         {.pitch = 170, .yaw = -170}},
        // The pad's "*" spins, "+" and "-" zoom.
        {{key(vk::kMultiply, 3, kShift)}, {.pitch = 3, .yaw = 6}},
        {{key(vk::kMultiply, 19, kCtrl)}, {.pitch = 95, .yaw = -170}},
        {{key(vk::kAdd, 11, kCtrl | kShift), key(vk::kSubtract, 4)}, {.zoom = 96}},
        // Lines wrap the angles and step; pages clamp.
        {{scroll(Id::PitchBar, S::LineUp, 181), scroll(Id::YawBar, S::LineDown, 181),
          scroll(Id::ZoomBar, S::LineUp, 3), scroll(Id::PanYBar, S::LineUp, 2)},
         {.pitch = -179, .yaw = -179, .zoom = 3, .panY = -2}},
        {{scroll(Id::PitchBar, S::PageUp, 19), scroll(Id::YawBar, S::PageUp, 19),
          scroll(Id::PanXBar, S::PageUp, 11)},
         {.pitch = 180, .yaw = -180, .panX = -100}},
        {{scroll(Id::PitchBar, S::PageDown, 19), scroll(Id::YawBar, S::PageDown, 19),
          scroll(Id::ZoomBar, S::PageDown, 11)},
         {.pitch = -180, .yaw = 180, .zoom = -100}},
        // The thumbs set their value, the zoom's clamped.
        {{scroll(Id::PitchBar, S::ThumbTrack, 1, -30), scroll(Id::YawBar, S::ThumbPosition, 1, -45),
          scroll(Id::ZoomBar, S::ThumbTrack, 1, 20), scroll(Id::PanXBar, S::ThumbPosition, 1, 7),
          scroll(Id::PanYBar, S::ThumbTrack, 1, -100)},
         {.pitch = 30, .yaw = -45, .zoom = -20, .panX = 7, .panY = -100}},
        {{scroll(Id::ZoomBar, S::ThumbTrack, 1, -300)}, {.zoom = 100}},
        // Other keys, top, bottom and the end of a scroll change nothing.
        {{key('A')}, {}},
        {{scroll(Id::YawBar, S::Top), scroll(Id::ZoomBar, S::Bottom),
          scroll(Id::PanXBar, S::EndScroll, 1, 50)},
         {}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const auto& [inputs, v] = rows[i];
        command(Id::ResetViewButton);
        for (const Input& input : inputs)
            apply(input);
        const ViewState& view = shell.state.viewState;
        EXPECT_EQ(std::tuple(view.pitch, view.yaw, view.zoom, view.panX, view.panY), v.tuple());
        EXPECT_EQ(bars(), (std::vector{-static_cast<int>(v.pitch), static_cast<int>(v.yaw), -v.zoom,
                                       v.panX, v.panY}));
        // Every zoom step enlarges by 3 %; panning moves the eye and the point looked at
        // together, 10 x zoomFactor scaled units a step.
        EXPECT_NEAR(view.zoomFactor, std::pow(1.03, v.zoom), 1e-12);
        EXPECT_DOUBLE_EQ(view.eye.x, -10.0 * v.panX * view.zoomFactor);
        EXPECT_DOUBLE_EQ(view.eye.y, -10.0 * v.panY * view.zoomFactor);
        EXPECT_EQ(std::tuple(view.center.x, view.center.y, view.eye.z, view.center.z),
                  std::tuple(view.eye.x, view.eye.y, -20000.0, 0.0));
    }
}

TEST_F(Navigation, EveryScrollMessageDrawsAFrameWhileTheModelViewIsShown) {
    const int before = windows.framesRequested;
    apply(scroll(Id::PanXBar, ScrollRequest::ThumbTrack, 2, 40));
    apply(scroll(Id::PanXBar, ScrollRequest::EndScroll));
    EXPECT_EQ(windows.framesRequested, before + 3);

    shell.state.modelViewActive = false;
    shell.state.textureViewActive = true;
    apply(scroll(Id::PanXBar, ScrollRequest::ThumbTrack, 1, 10));
    EXPECT_EQ(windows.framesRequested, before + 3);
}

// Every bar moved and the mouse mode on; "r" and "R" undo all of it, as the button does (which
// every row of the table above and the GUI test use).
TEST_F(Navigation, ResetByCharacterOrButtonPutsAllFiveBarsAtZero) {
    for (const char reset : {'r', 'R'}) {
        for (const Input& input : {key(vk::kLeft), key(vk::kDown), key(vk::kAdd),
                                   key(vk::kLeft, 1, kShift), key(vk::kUp, 1, kShift)})
            apply(input);
        shell.onChar(Window::Main, 'm');
        ASSERT_EQ(bars(), (std::vector{-1, -1, -1, -1, 1}));
        ASSERT_EQ(windows.text(Id::MouseModeButton), "m");
        shell.onChar(Window::Main, reset);
        expectViewReset();
    }
    windows.focusedWindow.reset();
    command(Id::ResetViewButton);
    EXPECT_EQ(windows.focusedWindow, Window::Main); // the button gives the keyboard back
}

TEST_F(Navigation, MouseModeTurnsOneDegreePerPointerMove) {
    shell.onPointerMove(100, 100, {});
    command(Id::MouseModeButton);
    EXPECT_EQ(windows.text(Id::MouseModeButton), "m");
    EXPECT_EQ(windows.focusedWindow, Window::Main);

    // The move before the mode was on does not count: measured from the origin, far right
    // and down, still one degree each.
    shell.onPointerMove(150, 110, {});
    EXPECT_EQ(bars(), (std::vector{1, 1, 0, 0, 0}));
    shell.onPointerMove(150, 90, {}); // up only
    shell.onPointerMove(150, 90, {}); // no move at all
    EXPECT_EQ(bars(), (std::vector{0, 1, 0, 0, 0}));
    shell.onPointerMove(140, 90, {}); // left, back to where it started
    EXPECT_EQ(bars(), std::vector(5, 0));
    shell.onPointerMove(140, 91, {}); // one pixel down
    EXPECT_EQ(bars(), (std::vector{1, 0, 0, 0, 0}));

    shell.onChar(Window::Main, 'M');
    shell.onPointerMove(10, 10, {});
    EXPECT_EQ(bars(), (std::vector{1, 0, 0, 0, 0}));
}

// Without a model, and in the texture view, "r", "m" and the arrows do nothing.
TEST_F(ShellFixture, WithoutTheModelViewRAndMAndTheArrowsDoNothing) {
    for (const bool textureView : {false, true}) {
        if (textureView) {
            openKnight();
            shell.onKeyDown(Window::Main, vk::kLeft);
            shell.state.modelViewActive = false;
            shell.state.textureViewActive = true;
        }
        const int panX = windows.scrollPos(Id::PanXBar);
        for (char c : {'r', 'R', 'm'})
            shell.onChar(Window::Main, c);
        shell.onKeyDown(Window::Main, vk::kRight);
        EXPECT_EQ(windows.text(Id::MouseModeButton), "M") << textureView;
        EXPECT_EQ(windows.scrollPos(Id::PanXBar), panX) << textureView;
    }
}

// The scales come from the model's extent; a model of one vertex, or of vertices all on one
// point, has extent 0, and one without vertices keeps its huge negative start value: these
// and any other extent that cannot scale the view are taken as 1.
TEST(ResetView, FitsTheModelAndKeepsTheViewFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> extents[] = {{250, 4},         {0.5, 2000},    {0.0, 1000},
                                                 {-1.7e300, 1000}, {1e-300, 1000}, {nan, 1000},
                                                 {1e308, 1000}};
    for (const auto& [extent, modelScale] : extents) {
        Model model;
        model.extent = extent;
        // Everything the navigation changes, changed.
        ViewState view{{1, 2, 3}, {1, 2, 0}, {0, 0, 1}, 10, 20, 3, 4, 5, 7, 7, 2, 7, true};
        resetView(view, model);
        EXPECT_EQ((std::array{view.eye.x, view.eye.y, view.eye.z, view.center.x, view.center.y,
                              view.center.z, view.up.x, view.up.y, view.up.z, view.yaw, view.pitch,
                              view.zoomFactor}),
                  (std::array<double, 12>{0, 0, -20000, 0, 0, 0, 0, 1, 0, 0, 0, 1}));
        EXPECT_EQ((std::array{view.panX, view.panY, view.zoom}), (std::array{0, 0, 0}));
        EXPECT_FALSE(view.mouseRotate);
        // The pan scale is a tenth of the model scale.
        EXPECT_EQ(std::tuple(view.modelScale, view.panScaleX * 10, view.panScaleY * 10),
                  std::tuple(modelScale, modelScale, modelScale))
            << extent;
        stepZoom(view, 100);
        stepPanX(view, -100);
        stepPanY(view, 100);
        for (double value : {view.eye.x, view.eye.y, view.center.x, view.center.y})
            EXPECT_TRUE(std::isfinite(value)) << extent;
    }
}

// The fan model open: mesh "fan" with the groups "wall" (a fan of four triangles over texture
// vertices 0 to 4) and "floor" (a quad over vertices 5 to 8).
class ControlPanel : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        dir.write("fan.3do", kFanModel);
        open("fan.3do");
        ASSERT_NE(shell.state.currentModel, nullptr);
    }

    // "wall" chosen, remapped from the front (its own vertices fill the unit square), and
    // the texture view shown in a view of 200 x 100 pixels.
    void editWall() {
        select(Id::TextureList, 0);
        command(Id::Front);
        shell.onSize(Window::GlView, 200, 100);
        command(Id::Edit);
    }

    // The pointer over the view: moved, or pressed and released where a move left it.
    void move(double x, double y, PointerState state = {}) { shell.onPointerMove(x, y, state); }
    void click(double x, double y) {
        move(x, y);
        shell.onPointerPress(x, y, PointerButton::Left);
        shell.onPointerRelease(x, y, PointerButton::Left);
    }

    Model& model() { return *shell.state.currentModel; }
    GlGroup& group(int g) { return model().meshes[0].glGroups[static_cast<std::size_t>(g)]; }
    std::vector<int> selectedOwn(int g) {
        std::vector<int> rows;
        for (std::size_t i = 0; i < group(g).ownTxverts.size(); ++i)
            if (group(g).ownTxverts[i].selected)
                rows.push_back(static_cast<int>(i));
        return rows;
    }
};

TEST_F(ControlPanel, ChoosingAMeshDropsTheTextureChoiceAndTheEditor) {
    select(Id::TextureList, 1);
    ASSERT_EQ(shell.state.interfaceState, InterfaceState::TextureChosen);
    ASSERT_NE(shell.state.currentEditor, nullptr);
    EXPECT_EQ(shell.state.currentEditor->groupIndex, 1);
    EXPECT_TRUE(group(1).selected);

    select(Id::MeshList, 0);
    expectState(InterfaceState::ModelOpen);
    EXPECT_EQ(shell.state.currentEditor, nullptr);
    EXPECT_EQ(rows(Id::TextureList), (std::vector<std::string>{"wall", "floor"}));
    EXPECT_EQ(windows.currentRow(Id::TextureList), -1);
    EXPECT_FALSE(group(1).selected);
}

TEST_F(ControlPanel, DrawingModesCycleAndApplyToOneMeshOrAll) {
    Mesh& mesh = model().meshes[0]; // shown (2) when it opens
    // A double click on the mesh cycles show, hide and wire; the buttons focus the mesh list.
    const std::pair<Id, int> rows[] = {{Id::MeshList, 0}, {Id::MeshList, 1}, {Id::MeshList, 2},
                                       {Id::Hide, 0},     {Id::Show, 2},     {Id::Wire, 1},
                                       {Id::HideAll, 0},  {Id::ShowAll, 2},  {Id::WireAll, 1}};
    for (const auto& [id, mode] : rows) {
        windows.focusedControl.reset();
        if (id == Id::MeshList)
            shell.onCommand(Id::MeshList, Notification::DoubleClick);
        else
            command(id);
        EXPECT_EQ(mesh.displayMode, mode) << toInt(id);
        EXPECT_EQ(windows.focusedControl,
                  id == Id::MeshList ? std::nullopt : std::optional(Id::MeshList))
            << toInt(id);
    }
}

TEST_F(ControlPanel, SelNoneDropsTheEditorWhileNoneOnlyClearsTheSelection) {
    editWall();
    command(Id::SelectAll);
    ASSERT_EQ(selectedOwn(0), (std::vector<int>{0, 1, 2, 3, 4}));
    command(Id::Invert);
    EXPECT_TRUE(selectedOwn(0).empty());
    command(Id::Invert);
    command(Id::SelectNone);
    EXPECT_TRUE(selectedOwn(0).empty());
    EXPECT_NE(shell.state.currentEditor, nullptr);
    EXPECT_EQ(windows.focusedWindow, Window::Controls);

    command(Id::Edit); // "return", as the backspace test below checks
    command(Id::SelectNoneTexture);
    EXPECT_EQ(shell.state.currentEditor, nullptr);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::ModelOpen);
    EXPECT_EQ(windows.currentRow(Id::TextureList), -1);
    EXPECT_FALSE(group(0).selected);
    EXPECT_EQ(windows.focusedControl, Id::MeshList);
}

TEST_F(ControlPanel, ScaleReadsTheFactorAsAtofDoesOnTheCheckedAxes) {
    editWall();
    // The u of corner 1 and the v of corner 4, both 1 before any scale.
    const auto corner = [this] {
        return std::pair(group(0).ownTxverts[1].u, group(0).ownTxverts[4].v);
    };

    // Nothing selected: the editor's message, whatever the box holds.
    windows.setText(Id::ScaleFactor, "2");
    command(Id::Scale);
    ASSERT_EQ(boxes().size(), 1U);

    // All selected: the middle of the selection is (0.5, 0.5).
    command(Id::SelectAll);
    windows.setText(Id::ScaleFactor, "");
    command(Id::Scale);
    EXPECT_EQ(corner(), std::pair(1.0, 1.0));
    windows.setText(Id::ScaleFactor, "2abc"); // "xy" is on from the start
    command(Id::Scale);
    EXPECT_EQ(corner(), std::pair(1.5, 1.5));
    command(Id::AxisY);
    EXPECT_EQ((std::vector{windows.isChecked(Id::AxisX), windows.isChecked(Id::AxisY),
                           windows.isChecked(Id::AxisXY)}),
              (std::vector{false, true, false}));
    windows.setText(Id::ScaleFactor, "0.5");
    command(Id::Scale);
    EXPECT_EQ(corner(), std::pair(1.5, 1.0));
    command(Id::AxisX);
    command(Id::Scale);
    EXPECT_EQ(corner(), std::pair(1.0, 1.0));
    EXPECT_EQ(boxes().size(), 1U);
}

// Exactly as atof reads it: the longest number at the start, 0 without one.
TEST(ScaleFactor, IsReadAsAtofReadsIt) {
    for (const char* text :
         {"  -1.5e1x", "+.5",    "0x10",      "abc",    "",          "-",        "1e999",
          "3.",        "1e-999", "--5",       "0x.8",   "0x",        "0x.",      "+0X1p-2q",
          "\t.5e",     "1e+",    "-Infinity", "1e-310", "0x1p-1074", "4.9e-325", "-0"})
        EXPECT_EQ(factorOf(text), std::atof(text)) << text;
}

TEST_F(ControlPanel, ChangeGivesTheGroupAnotherImageAndKeepsItsRow) {
    select(Id::TextureList, 1);
    fake.fileDialogs.choose(pathOf("mat/new wall.mat"), "new wall.mat");
    command(Id::ChangeTexture);
    ASSERT_EQ(boxes().size(), 1U);
    EXPECT_EQ(boxes()[0].text, "The texture was not changed: its file name contains a "
                               "blank.\n\nnew wall.mat\n\nA 3DO file names each texture in one "
                               "word. Rename the file without blanks and choose it again.");
    EXPECT_EQ(model().materials[1].name, "floor");

    fake.fileDialogs.choose(pathOf("mat/stone.mat"), "stone.mat");
    shell.onCommand(Id::TextureList, Notification::DoubleClick);
    // The dialogs so far: "&Open...", then "change ..." twice.
    const FileDialogRequest& change = fake.fileDialogs.shown().at(2).request;
    EXPECT_EQ(std::tuple(change.owner, change.filters.size(), change.filters.at(0).pattern),
              std::tuple(Window::Controls, 3U, "*.mat;*.bmp"));
    EXPECT_EQ(rows(Id::TextureList), (std::vector<std::string>{"wall", "stone"}));
    EXPECT_EQ(windows.currentRow(Id::TextureList), 1);
    EXPECT_TRUE(group(1).selected);
    EXPECT_EQ(shell.state.currentEditor->materialIndex, group(1).material);
    EXPECT_EQ(windows.focusedControl, Id::TextureList);

    command(Id::ChangeTexture); // cancelled
    EXPECT_EQ(rows(Id::TextureList), (std::vector<std::string>{"wall", "stone"}));

    // Given the wall's file, the group shares the wall's material: the stone's goes, and its
    // GL texture with it.
    const GLuint stone = model().materials[1].glTexture;
    ASSERT_TRUE(glIsTexture(stone));
    fake.fileDialogs.choose(model().materials[0].path, "wall.mat");
    command(Id::ChangeTexture);
    EXPECT_EQ(model().numMaterials(), 1);
    EXPECT_FALSE(glIsTexture(stone));
    EXPECT_TRUE(glIsTexture(model().materials[0].glTexture));
}

TEST_F(ControlPanel, HelpExplainsTheMouse) {
    command(Id::Help);
    EXPECT_EQ(boxes(),
              std::vector<Box>(
                  {{Window::Controls,
                    "Drag a rectangle or click on individual vertices to make a selection.\n\n"
                    "Hold CTRL and use the mouse to move the selection.\n\nScaling Tips:\n\n"
                    "     * Scale by -1 to flip the vertices around the axis.\n\n     * Scale by "
                    "0 to ''merge'' vertices.\n\n     * Scale up beyond the edges of the texture "
                    "to create a tiling effect.\n       (This can be put to good use in level "
                    "design)",
                    "Skinweaver 1.1", kMbOk}}));
}

// The view is 200 x 100 pixels. Fitted, it shows the wall's own vertices (0 the middle,
// 1 (1, 0), 2 (0, 0), 3 (0, 1), 4 (1, 1)) as large as they fit 16 pixels inside its edges,
// texels square (the texture is not loaded): 68 pixels across, (0, 0) at pixel (66, 84).
TEST_F(ControlPanel, ThePointerPicksDragsMovesZoomsAndPansWhatTheViewShows) {
    editWall();
    const auto expectAt = [this](double x, double y, TexturePoint expected) {
        const TexturePoint at = textureCoordinatesAt(shell.state, x, y);
        EXPECT_NEAR(at.u, expected.u, 1e-12) << x << ", " << y;
        EXPECT_NEAR(at.v, expected.v, 1e-12) << x << ", " << y;
    };
    expectAt(66, 84, {0, 0});
    expectAt(134, 16, {1, 1});

    // A click flips the vertices within 4 pixels of where the last move left the pointer,
    // wherever it is released: 0 and 2 pixels off the middle, not 6.
    for (const auto& [off, selected] :
         {std::pair{0, std::vector{0}}, {2, std::vector<int>{}}, {6, std::vector<int>{}}}) {
        move(100 + off, 50 - off);
        shell.onPointerPress(100 + off, 50 - off, PointerButton::Left);
        shell.onPointerRelease(0, 0, PointerButton::Left);
        EXPECT_EQ(selectedOwn(0), selected) << off;
    }
    // A rectangle over the whole view takes the border vertices in. Released outside the view
    // the button is not seen to come up: coming back goes on with the drag.
    move(1, 1);
    shell.onPointerPress(1, 1, PointerButton::Left);
    move(150, 60);
    move(199, 99);
    shell.onPointerRelease(199, 99, PointerButton::Left);
    EXPECT_EQ(selectedOwn(0), (std::vector{0, 1, 2, 3, 4}));

    // CTRL moves the selection with the pointer: ten steps of (3, 1) pixels as far as one of
    // (30, 10), whether the view fits the vertices again between the steps (all selected: it
    // only moves along) or holds still for the drag (the outer vertices 1 and 4 selected,
    // which widens the bounds).
    const auto ctrlMove = [this, &expectAt](int steps, bool refitBetween) {
        move(100, 50);
        for (int i = 1; i <= steps; ++i) {
            move(100 + 30.0 * i / steps, 50 + 10.0 * i / steps, {.control = true});
            if (refitBetween)
                shell.onKeyUp(Window::Controls, vk::kControl);
        }
        if (!refitBetween)
            expectAt(66, 84, {0, 0});
        shell.onKeyUp(Window::Main, vk::kControl);
        const std::string moved = model().outputText();
        for (int i = 0; i < (refitBetween ? steps : 1); ++i)
            command(Id::MenuUndo);
        return moved;
    };
    const std::string before = model().outputText();
    for (const bool all : {true, false}) {
        if (!all) {
            command(Id::SelectNone);
            click(134, 84);
            click(134, 16);
        }
        const std::string small = ctrlMove(10, all);
        EXPECT_EQ(model().outputText(), before);
        EXPECT_NE(small, before);
        EXPECT_EQ(ctrlMove(1, all), small);
    }

    // The wheel zooms about the pointer, the middle button drags the view along; changes and
    // undo leave the view where the user put it until "Fit view".
    shell.onWheel(120, 30, 2);
    expectAt(120, 30, {0.5 + 20.0 / 68, 0.5 + 20.0 / 68});
    expectAt(120 + 1.5625, 30, {0.5 + 21.0 / 68, 0.5 + 20.0 / 68});
    const TexturePoint grabbed = textureCoordinatesAt(shell.state, 100, 50);
    shell.onPointerPress(100, 50, PointerButton::Middle);
    move(90, 58, {.middle = true});
    move(110, 70, {.middle = true});
    shell.onPointerRelease(110, 70, PointerButton::Middle);
    move(150, 10);
    expectAt(110, 70, grabbed);
    command(Id::SelectAll);
    windows.setText(Id::ScaleFactor, "2");
    command(Id::Scale);
    command(Id::MenuUndo);
    command(Id::MenuRedo);
    expectAt(110, 70, grabbed);
    command(Id::MenuFitView);
    expectAt(66, 84, {-0.5, -0.5});

    // Without the texture's proportions the fitted square is stretched over the view.
    command(Id::MenuUndo);
    command(Id::MenuKeepProportions);
    EXPECT_FALSE(windows.isChecked(Id::MenuKeepProportions));
    EXPECT_EQ(fake.settings.values.at("KeepTextureProportions"), "0");
    expectAt(16, 84, {0, 0});
    expectAt(184, 16, {1, 1});
    // A middle drag from the fitted view moves it without zooming.
    move(16, 84);
    shell.onPointerPress(16, 84, PointerButton::Middle);
    move(26, 84, {.middle = true});
    shell.onPointerRelease(26, 84, PointerButton::Middle);
    expectAt(26, 84, {0, 0});
    expectAt(194, 16, {1, 1});
    // Bounds half as high as wide: the square around them is what is stretched.
    command(Id::AxisY);
    windows.setText(Id::ScaleFactor, "0.5");
    command(Id::Scale);
    command(Id::MenuFitView);
    expectAt(16, 84, {0, 0});
}

// On a screen scaled to 200% the view's 32 x 32 pixels are 64 x 64 device pixels: the frame
// fills them all, the model view's viewport too.
TEST_F(ControlPanel, OnAScaledScreenTheViewFillsEveryDevicePixel) {
    windows.pixelRatio = 2;
    shell.onSize(Window::GlView, 32, 32);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 64, 64}));
    select(Id::TextureList, 0);
    command(Id::Front);
    command(Id::Edit);
    shell.onFrame();
    const std::vector<std::uint8_t> pixels = windows.gl->readPixels();
    for (int row = 0; row < 64; ++row) // the untextured tiles are white
        EXPECT_NE(pixels[static_cast<std::size_t>(row * 64 + 63) * 3], 0) << row;
}

// On the wall's texture of 2 x 4 texels a quarter turn left turns what the view shows: the
// front remap's unit square, 2 texels wide and 4 high, becomes 4 wide and 2 high about the
// same middle. Rotate and flip are there while vertices are selected in the texture view.
TEST_F(ControlPanel, RotateAndFlipTurnTheSelectionAsTheViewShowsIt) {
    dir.write("mat/wall.mat", matTexture(2, 4, 8, std::string(8, '\x05')));
    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRevert);
    editWall();
    const std::vector<Id> items{Id::MenuRotateLeft, Id::MenuRotateRight, Id::MenuFlipHorizontally,
                                Id::MenuFlipVertically};
    const auto enabled = [&] {
        return std::ranges::count_if(items, [&](Id id) { return windows.isEnabled(id); });
    };
    EXPECT_EQ(enabled(), 0);
    command(Id::SelectAll);
    EXPECT_EQ(enabled(), 4);
    const std::string remapped = model().outputText();
    command(Id::MenuRotateLeft);
    EXPECT_NE(
        model().outputText().find("0: 1 -2\r\n1: 3 -3\r\n2: 3 -1\r\n3: -1 -1\r\n4: -1 -3\r\n"),
        std::string::npos);
    for (int turn = 0; turn < 3; ++turn)
        command(Id::MenuRotateLeft);
    EXPECT_EQ(model().outputText(), remapped);
    command(Id::MenuRotateRight);
    command(Id::MenuFlipHorizontally);
    command(Id::MenuFlipVertically);
    command(Id::MenuRotateRight);
    EXPECT_EQ(model().outputText(), remapped);
    command(Id::Edit); // "return"
    EXPECT_EQ(enabled(), 0);
}

// Every kind of change is one step: undone, the model saves as it did before the change (the
// first remap's undo as a plain resave), redone as it did after it; the title marks the model
// while it differs from the file, undo back to the saved state included.
TEST_F(ControlPanel, UndoAndRedoTakeEveryKindOfChangeBackAndForth) {
    const std::string title = "Skinweaver 1.1 - fan.3do";
    windows.setText(Id::ScaleFactor, "0.5");
    model().insertOffset = {1, 2, 3}; // so that the offset changes: the fan's feet stand at 0
    const auto ctrlDrag = [this] {
        for (int x = 100; x <= 140; x += 10)
            move(x, 50, {.control = true});
        shell.onKeyUp(Window::Main, vk::kControl);
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"first remap", [this] { editWall(); }},
        {"box remap", [this] { command(Id::BoxRemap); }},
        {"later remap", [this] { command(Id::Top); }},
        {"scale", [this] { command(Id::SelectAll), command(Id::Scale); }},
        {"CTRL-drag", ctrlDrag},
        {"rotate", [this] { command(Id::MenuRotateRight); }},
        {"flip", [this] { command(Id::MenuFlipVertically); }},
        {"offset",
         [this] { fake.messageBoxes.answer(kIdYes), command(Id::MenuRecalculateOffset); }},
        {"texture", [this] {
             command(Id::Edit);
             fake.fileDialogs.choose(pathOf("mat/stone.mat"), "stone.mat");
             command(Id::ChangeTexture);
         }}};
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        const std::string before = model().outputText();
        change();
        const std::string after = model().outputText();
        EXPECT_NE(after, before);
        EXPECT_EQ(windows.window(Window::Main).text, title + "*");
        command(Id::MenuUndo);
        EXPECT_EQ(model().outputText(), before);
        command(Id::MenuRedo);
        EXPECT_EQ(model().outputText(), after);
    }
    EXPECT_EQ(rows(Id::TextureList), (std::vector<std::string>{"stone", "floor"}));
    for (std::size_t undo = 0; undo < std::size(changes); ++undo)
        command(Id::MenuUndo);
    EXPECT_EQ(windows.window(Window::Main).text, title);
    EXPECT_EQ(rows(Id::TextureList), (std::vector<std::string>{"wall", "floor"}));
    expectState(shell.state.interfaceState); // Undo greyed, Redo not

    command(Id::MenuRedo);
    fake.messageBoxes.answer(kIdYes); // the fan has no textures: saved anyway
    command(Id::MenuSave);
    EXPECT_EQ(windows.window(Window::Main).text, title);
    command(Id::MenuUndo);
    EXPECT_EQ(windows.window(Window::Main).text, title + "*");
    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRevert); // a model read anew has no steps
    EXPECT_FALSE(shell.state.history.canUndo() || shell.state.history.canRedo());
    // A change that leaves the model as it was is no step.
    editWall();
    command(Id::Front);
    command(Id::MenuUndo);
    EXPECT_FALSE(shell.state.history.canUndo());
}

// The fan's textures are nowhere. Saving it as read asks nothing; once the wall is remapped
// and the floor scaled where it shares the mesh's vertices, every save asks first, and No
// writes nothing.
TEST_F(ControlPanel, SavingChangedGroupsWithoutTexturesAsksFirst) {
    const std::string saved = pathOf("fan.3do");
    command(Id::MenuSave);
    EXPECT_TRUE(boxes().empty());
    editWall();
    command(Id::Edit);
    select(Id::TextureList, 1);
    command(Id::Edit);
    command(Id::SelectAll);
    windows.setText(Id::ScaleFactor, "0.5");
    command(Id::Scale);
    const std::string before = readFile(saved);
    command(Id::MenuSave); // answered No
    EXPECT_EQ(boxes(),
              (std::vector<Box>{
                  {Window::Main,
                   "These texture groups were changed, but their textures were not found:\n\n"
                   "    fan, wall: saved in fractions of a texture, which the game shows as one "
                   "stretched texel\n    fan, floor: its edits are not saved (it still uses the "
                   "file's texture vertices)\n\nTo save them in texels, add the folder or "
                   "archive that holds their textures in Options > Texture sources, reload the "
                   "model and change them again.\n\nSave anyway?",
                   "Skinweaver 1.1", kMbYesNo | kMbIconExclamation}}));
    EXPECT_EQ(readFile(saved), before);
    EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1 - fan.3do*");
}

// In the texture view Backspace clears the selection; in the model view with a mesh row, and
// only there, it drops the chosen texture.
TEST_F(ControlPanel, BackspaceClearsTheSelectionOrDropsTheTexture) {
    editWall();
    command(Id::SelectAll);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_EQ(std::tuple(selectedOwn(0).empty(), shell.state.textureViewActive, group(0).selected),
              std::tuple(true, true, true));
    expectState(InterfaceState::Editing); // rotate and flip greyed with the selection

    command(Id::SelectAll);
    command(Id::Edit);                           // "return"
    EXPECT_FALSE(shell.state.textureViewActive); // the pointer no longer selects
    windows.setCurrentRow(Id::MeshList, -1);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::TextureChosen);
    EXPECT_FALSE(selectedOwn(0).empty());
    windows.setCurrentRow(Id::MeshList, 0);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_FALSE(group(0).selected);
    EXPECT_EQ(windows.currentRow(Id::TextureList), -1);
    expectState(InterfaceState::ModelOpen);
    command(Id::ChangeTexture); // no texture chosen: no dialog beyond the Open one
    EXPECT_EQ(fake.fileDialogs.shown().size(), 1U);
}

} // namespace
} // namespace sw::test
