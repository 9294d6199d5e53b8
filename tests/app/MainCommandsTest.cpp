#include "app/ShellFixture.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw::test {
namespace {

using MainCommands = ShellFixture;

constexpr const char* kOffsetCaption = "Re-calculate character offset";

TEST_F(MainCommands, OffsetWithoutAModelSaysSoAndDoesNothingElse) {
    command(Id::MenuRecalculateOffset);

    const Box box{Window::Main, "You must open a 3do file first.", kOffsetCaption, kMbOk};
    EXPECT_EQ(boxes(), std::vector{box});
    expectNoModel();
}

// The lowest vertex lies at z = -0.25; the file's offset is (0, 0, -0.1). Save writes the
// open file in place.
TEST_F(MainCommands, OffsetPutsTheLowestPointOnTheGroundOnlyOnYesAndTheNextSaveWritesIt) {
    const std::string path =
        writeModel("knight.3do", replaced(kTriangleModel, "0: 0 0 0 0", "0: 0 0 -0.25 0"));
    open("knight.3do");
    const Box question{Window::Main,
                       "This will adjust the insert offset so that the\ncharacter's feet are "
                       "aligned with the ground in-game.\n\nThis is not desirable for "
                       "non-character 3do's.\n\nIf you choose Yes, the offset will be adjusted "
                       "to:\n0   0   -0.250000",
                       kOffsetCaption, kMbYesNo};

    fake.messageBoxes.answer(kIdNo);
    command(Id::MenuRecalculateOffset);
    command(Id::MenuSave);
    EXPECT_NE(readFile(path).find("INSERT OFFSET 0 0 -0.1\r\n"), std::string::npos);

    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRecalculateOffset);
    command(Id::MenuSave);
    EXPECT_EQ(readFile(path), shell.state.currentModel->outputText());
    EXPECT_NE(readFile(path).find("INSERT OFFSET 0 0 -0.25\r\n"), std::string::npos);

    EXPECT_EQ(boxes(), (std::vector{question, question}));
    // Nothing else follows the change: the view and the interface stay as they were.
    expectModelOpen("knight.3do");
}

TEST_F(MainCommands, PreferencesRefreshesShowsAndFocusesTheOptionsWindow) {
    windows.privateMessages.clear();

    command(Id::MenuPreferences);

    EXPECT_EQ(windows.privateMessages, (std::vector<std::pair<Window, PrivateMessage>>{
                                           {Window::Options, PrivateMessage::Refresh}}));
    EXPECT_TRUE(windows.window(Window::Options).visible);
    EXPECT_EQ(windows.focusedWindow, Window::Options);

    // Its close box only hides it.
    shell.onClose(Window::Options);
    EXPECT_FALSE(windows.window(Window::Options).visible);
    EXPECT_FALSE(windows.quitCode.has_value());
}

TEST_F(MainCommands, ControlPanelToggleByMenuEnterAndAfterItsCloseBox) {
    command(Id::MenuToggleControlPanel);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    EXPECT_FALSE(windows.focusedWindow.has_value()); // the menu leaves the focus alone

    shell.onKeyDown(Window::Main, vk::kReturn);
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_EQ(windows.focusedWindow, Window::Main);

    // Enter in another window is that window's key.
    shell.onKeyDown(Window::Controls, vk::kReturn);
    EXPECT_TRUE(windows.window(Window::Controls).visible);

    // The close box only hides the panel; one toggle shows it again.
    shell.onClose(Window::Controls);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    command(Id::MenuToggleControlPanel);
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_TRUE(shell.state.controlPanelVisible);
    EXPECT_TRUE(windows.destroyedWindows.empty());
    EXPECT_FALSE(windows.quitCode.has_value());
}

TEST_F(MainCommands, AboutShowsShortLinesSeparatedByBlankLinesUnderTheProgramsName) {
    command(Id::MenuAbout);
    ASSERT_EQ(boxes().size(), 1u);
    const std::string text = boxes()[0].text;
    EXPECT_EQ(boxes()[0], (Box{Window::Main, text, "Skinweaver 1.1", kMbOk}));
    EXPECT_NE(text.find("\n\n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
}

// The triangle open with its texture chosen, as the control panel chooses it. Backspace drops
// the texture in the model view with a mesh row, and only there.
TEST_F(MainCommands, BackspaceDropsTheChosenTextureOnlyInTheModelViewWithAMeshRow) {
    openKnight();
    windows.setCurrentRow(Id::TextureList, 0);
    shell.state.currentModel->meshes[0].selectGroup(0);
    setTextureChosen(shell.state, windows, true);
    const auto groupSelected = [this] {
        return shell.state.currentModel->meshes[0].glGroups[0].selected;
    };

    windows.setCurrentRow(Id::MeshList, -1);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::TextureChosen);

    setEditing(shell.state, windows, true);
    shell.state.modelViewActive = false;
    shell.state.textureViewActive = true;
    windows.setCurrentRow(Id::MeshList, 0);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::Editing);
    EXPECT_EQ(windows.currentRow(Id::TextureList), 0);
    EXPECT_TRUE(groupSelected());

    setEditing(shell.state, windows, false);
    shell.state.textureViewActive = false;
    shell.state.modelViewActive = true;
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_FALSE(groupSelected());
    expectModelOpen("knight.3do"); // no texture row, texture tools greyed
}

} // namespace
} // namespace sw::test
