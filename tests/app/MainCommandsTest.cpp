#include "app/DocumentFixture.h"
#include "app/InterfaceState.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <string>

namespace sw::test {
namespace {

using Id = ControlId;
using MainCommands = DocumentFixture;

constexpr const char* kOffsetCaption = "Re-calculate character offset";

TEST_F(MainCommands, OffsetWithoutAModelSaysSoAndDoesNothingElse) {
    command(Id::MenuRecalculateOffset);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 1u);
    const auto& box = fake.messageBoxes.shown()[0];
    EXPECT_EQ(box.text, "You must open a 3do file first.");
    EXPECT_EQ(box.caption, kOffsetCaption);
    EXPECT_EQ(box.style, kMbOk);
    expectNoModel();
}

// The lowest vertex lies at z = -0.25; the file's offset is (0, 0, -0.1).
TEST_F(MainCommands, OffsetPutsTheLowestPointOnTheGroundOnlyOnYesAndTheNextSaveWritesIt) {
    const std::string path =
        writeModel("knight.3do", replaced(kTriangleModel, "0: 0 0 0 0", "0: 0 0 -0.25 0"));
    open("knight.3do");
    const std::string question =
        "This will adjust the insert offset so that the\ncharacter's feet are aligned with the "
        "ground in-game.\n\nThis is not desirable for non-character 3do's.\n\nIf you choose "
        "Yes, the offset will be adjusted to:\n0   0   -0.250000";

    fake.messageBoxes.answer(kIdNo);
    command(Id::MenuRecalculateOffset);
    command(Id::MenuSave);
    EXPECT_NE(readFile(path).find("INSERT OFFSET 0 0 -0.1\r\n"), std::string::npos);

    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRecalculateOffset);
    command(Id::MenuSave);
    EXPECT_NE(readFile(path).find("INSERT OFFSET 0 0 -0.25\r\n"), std::string::npos);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 2u);
    for (const auto& box : fake.messageBoxes.shown()) {
        EXPECT_EQ(box.text, question);
        EXPECT_EQ(box.caption, kOffsetCaption);
        EXPECT_EQ(box.style, kMbYesNo);
    }
    // Nothing else follows the change: the view and the interface stay as they were.
    expectModelOpen("knight.3do", {"tri"}, {"floor"});
}

TEST_F(MainCommands, PreferencesRefreshesShowsAndFocusesTheOptionsWindow) {
    const auto messagesBefore = windows.privateMessages().size();

    command(Id::MenuPreferences);

    ASSERT_EQ(windows.privateMessages().size(), messagesBefore + 1);
    EXPECT_EQ(windows.privateMessages().back(),
              std::make_pair(Window::Options, PrivateMessage::Refresh));
    EXPECT_TRUE(windows.window(Window::Options).visible);
    EXPECT_EQ(windows.focusedWindow(), Window::Options);
}

TEST_F(MainCommands, ControlPanelToggleByMenuEnterAndAfterItsCloseBox) {
    command(Id::MenuToggleControlPanel);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    EXPECT_FALSE(windows.focusedWindow().has_value()); // the menu leaves the focus alone

    shell.onKeyDown(Window::Main, vk::kReturn);
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_EQ(windows.focusedWindow(), Window::Main);

    // Enter in another window is that window's key.
    shell.onKeyDown(Window::Controls, vk::kReturn);
    EXPECT_TRUE(windows.window(Window::Controls).visible);

    // After the close box one toggle shows the panel again.
    shell.onClose(Window::Controls);
    command(Id::MenuToggleControlPanel);
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_TRUE(shell.state.controlPanelVisible);
}

TEST_F(MainCommands, AboutShowsLinesSeparatedByBlankLinesUnderTheProgramsName) {
    command(Id::MenuAbout);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 1u);
    const auto& box = fake.messageBoxes.shown()[0];
    EXPECT_EQ(box.caption, "Skinweaver 1.1");
    EXPECT_EQ(box.style, kMbOk);
    EXPECT_EQ(box.owner, Window::Main);
    EXPECT_NE(box.text.find("\n\n"), std::string::npos);
}

class Backspace : public MainCommands {
protected:
    // The sample-sized triangle open with its texture chosen, as the control panel chooses it.
    void SetUp() override {
        MainCommands::SetUp();
        writeModel("knight.3do");
        open("knight.3do");
        windows.setCurrentRow(Id::TextureList, 0);
        shell.state.currentModel->selectGroup(0, 0);
        setTextureChosen(shell.state, windows, true);
    }
    bool groupSelected() const { return shell.state.currentModel->meshes[0].glGroups[0].selected; }
};

TEST_F(Backspace, InTheModelViewDropsTheChosenTexture) {
    shell.onKeyDown(Window::Main, vk::kBack);

    EXPECT_FALSE(groupSelected());
    expectModelOpen("knight.3do", {"tri"}, {"floor"}); // no texture row, texture tools greyed
}

TEST_F(Backspace, KeepsTheTextureWithoutAMeshRowAndInTheTextureView) {
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
}

} // namespace
} // namespace sw::test
