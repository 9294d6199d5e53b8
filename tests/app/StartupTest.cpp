#include "app/InterfaceState.h"
#include "app/ShellFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sw::test {
namespace {

constexpr Window M = Window::Main;
constexpr Window O = Window::Options;
constexpr Window P = Window::Controls;

using StartUp = ShellFixture;

// The main window's bars and buttons are laid out for the fake's client area of 504 x 485;
// every scroll bar starts in the middle of its range. Which controls are enabled is the
// no-model state's (tests/data/interface-states.txt).
TEST_F(StartUp, BuildsTheWindowsTheirControlsAndTheMenuAndShowsAllButThePreferences) {
    EXPECT_EQ(windows.tree(), test::dataFile("startup.txt"));
    EXPECT_EQ(windows.fontFace, "MS Sans Serif");
    EXPECT_EQ(windows.fontCellHeight, 14);
    EXPECT_EQ(windows.createdBeforeFont, 0u); // the font applies to all that follow it
    EXPECT_EQ(windows.registeredClasses, (std::vector<Window>{M, P, O, Window::GlView}));
    // The Preferences window fills its controls once, right after it is built.
    EXPECT_EQ(windows.privateMessages,
              (std::vector<std::pair<Window, PrivateMessage>>{{O, PrivateMessage::Refresh}}));
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

// Each failure the window system can report. A failed class registration is named before
// the message every failure ends with.
TEST(StartUpFailure, TellsTheUserAndEndsTheStart) {
    const std::pair<void (*)(FakeWindowSystem&), const char*> failures[] = {
        {[](auto& w) { w.failRegistration.insert(M); }, "Main window class"},
        {[](auto& w) { w.failRegistration.insert(P); }, "Controls window class"},
        {[](auto& w) { w.failRegistration.insert(O); }, "Options window class"},
        {[](auto& w) { w.failRegistration.insert(Window::GlView); }, "OpenGL window class"},
        {[](auto& w) { w.failCreation.insert(M); }, nullptr},
        {[](auto& w) { w.failCreation.insert(O); }, nullptr},
        {[](auto& w) { w.failGlContext = true; }, nullptr},
        {[](auto& w) { w.failClientSize = true; }, nullptr}};
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        const auto& [script, className] = failures[i];
        FakePlatform fake;
        script(fake.windows);
        Shell shell(fake.platform);
        EXPECT_FALSE(shell.start()) << "case " << i;
        std::vector<Box> expected;
        if (className != nullptr)
            expected.push_back(
                {Window::None,
                 std::string("Window class registration failed for: ") + className + ".", "Error",
                 kMbIconExclamation});
        expected.push_back(
            {Window::None, "Window creation failed.", "Windows error", kMbIconExclamation});
        EXPECT_EQ(fake.messageBoxes.shown(), expected) << "case " << i;
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
            expectEnabled(walk[i].state);
    }
    std::string table;
    for (const auto& [id, flags] : enabled)
        table += std::to_string(toInt(id)) + ' ' + flags + " \"" + atStart.at(id).first + "\"\n";
    EXPECT_EQ(table, dataFile("interface-states.txt"));
}

} // namespace
} // namespace sw::test
