#include "app/ControlPanel.h"
#include "app/ShellFixture.h"
#include "app/ViewportInput.h"

#include <cmath>

namespace sw::test {
namespace {

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

    void select(Id list, int row) {
        windows.setCurrentRow(list, row);
        shell.onCommand(list, Notification::SelectionChange);
    }
    void doubleClick(Id list) { shell.onCommand(list, Notification::DoubleClick); }
    // "wall" chosen, remapped from the front (its own vertices fill the unit square), and
    // the texture view shown in a view of 200 x 100 pixels.
    void editWall() {
        select(Id::TextureList, 0);
        command(Id::Front);
        shell.onSize(Window::GlView, 200, 100);
        command(Id::Edit);
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

    // Already without a texture, the choice only fills the list again.
    select(Id::MeshList, 0);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::ModelOpen);
}

TEST_F(ControlPanel, DrawingModesCycleAndApplyToOneMeshOrAll) {
    Mesh& mesh = model().meshes[0];
    ASSERT_EQ(mesh.displayMode, 2);
    // A double click on the mesh cycles show, hide and wire; the buttons focus the mesh list.
    const std::pair<Id, int> rows[] = {{Id::MeshList, 0}, {Id::MeshList, 1}, {Id::MeshList, 2},
                                       {Id::Hide, 0},     {Id::Show, 2},     {Id::Wire, 1},
                                       {Id::HideAll, 0},  {Id::ShowAll, 2},  {Id::WireAll, 1}};
    for (const auto& [id, mode] : rows) {
        windows.focusedControl.reset();
        if (id == Id::MeshList)
            doubleClick(Id::MeshList);
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

    command(Id::Edit); // "return"
    EXPECT_EQ(windows.text(Id::Edit), "edit");
    EXPECT_TRUE(shell.state.modelViewActive);
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
    EXPECT_EQ(boxes().size(), 1U);
}

// As atof reads it: the longest number at the start, 0 without one.
TEST(ScaleFactor, IsTheLongestNumberAtTheStart) {
    const std::pair<const char*, double> rows[] = {
        {"  -1.5e1x", -15}, {"+.5", 0.5},        {"0x10", 16}, {"abc", 0},   {"", 0},
        {"-", 0},           {"1e999", HUGE_VAL}, {"3.", 3},    {"1e-999", 0}};
    for (const auto& [text, factor] : rows)
        EXPECT_EQ(factorOf(text), factor) << text;
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
    doubleClick(Id::TextureList);
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
    ASSERT_EQ(boxes().size(), 1U);
    EXPECT_EQ(boxes()[0],
              (Box{Window::Controls,
                   "Drag a rectangle or click on individual vertices to make a selection.\n\n"
                   "Hold CTRL and use the mouse to move the selection.\n\nScaling Tips:\n\n"
                   "     * Scale by -1 to flip the vertices around the axis.\n\n     * Scale by "
                   "0 to ''merge'' vertices.\n\n     * Scale up beyond the edges of the texture "
                   "to create a tiling effect.\n       (This can be put to good use in level "
                   "design)",
                   "Skinweaver 1.1", kMbOk}));
}

// The view is 200 x 100 pixels and shows the unit square: pixel (x, y) is (x / 200,
// 1 - y / 100). The wall's own vertices: 0 the middle, 1 (1, 0), 2 (0, 0), 3 (0, 1), 4 (1, 1).
TEST_F(ControlPanel, PointerClicksDragsAndMovesInTheTextureView) {
    editWall();
    const auto move = [this](int x, int y) { shell.onPointerMove(x, y); };

    // A click acts where the last move left the pointer, not where it is released.
    move(100, 50);
    shell.onPointerPress(100, 50);
    shell.onPointerRelease(0, 0);
    EXPECT_EQ(selectedOwn(0), (std::vector<int>{0}));

    // A drag: the rectangle starts where the pointer was before its first move. Released
    // outside the view the button is not seen to come up, so coming back goes on dragging
    // until a release inside: the rectangle (0.4, 0.4) to (0.6, 0.6) flips the middle back.
    move(80, 40);
    shell.onPointerPress(80, 40);
    move(90, 45);
    ASSERT_TRUE(shell.state.currentEditor->rectActive);
    move(120, 60);
    shell.onPointerRelease(120, 60);
    EXPECT_FALSE(shell.state.currentEditor->rectActive);
    EXPECT_TRUE(selectedOwn(0).empty());

    // With CTRL held the selection follows the pointer's steps, without a button too.
    move(100, 50);
    shell.onPointerPress(100, 50);
    shell.onPointerRelease(100, 50);
    shell.onKeyDown(Window::Main, vk::kControl);
    move(120, 40);
    shell.onKeyUp(Window::Main, vk::kControl);
    EXPECT_DOUBLE_EQ(group(0).ownTxverts[0].u, 0.6);
    EXPECT_DOUBLE_EQ(group(0).ownTxverts[0].v, 0.6);
    EXPECT_EQ(group(0).ownTxverts[4].u, 1);

    // All scaled by 2 about the middle, then moved by (0.4, 0.2): the view shows u from -0.1
    // to 1.9 and v from -0.3 to 1.7.
    command(Id::SelectAll);
    windows.setText(Id::ScaleFactor, "2");
    command(Id::Scale);
    move(120, 40); // the pointer seen anew in the square the scale changed
    shell.onKeyDown(Window::Main, vk::kControl);
    move(160, 30);
    for (const auto& [x, y, u, v] : {std::tuple{0, 0, -0.1, 1.7}, {200, 100, 1.9, -0.3}}) {
        const TexturePoint at = textureCoordinatesAt(shell.state, x, y);
        EXPECT_NEAR(at.u, u, 1e-12) << x;
        EXPECT_NEAR(at.v, v, 1e-12) << x;
    }
}

// In the texture view Backspace clears the selection; in the model view with a mesh row, and
// only there, it drops the chosen texture.
TEST_F(ControlPanel, BackspaceClearsTheSelectionOrDropsTheTexture) {
    editWall();
    command(Id::SelectAll);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_TRUE(selectedOwn(0).empty());
    EXPECT_TRUE(shell.state.textureViewActive);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::Editing);
    EXPECT_TRUE(group(0).selected);

    command(Id::Edit); // "return"
    windows.setCurrentRow(Id::MeshList, -1);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_EQ(shell.state.interfaceState, InterfaceState::TextureChosen);
    windows.setCurrentRow(Id::MeshList, 0);
    shell.onKeyDown(Window::Main, vk::kBack);
    EXPECT_FALSE(group(0).selected);
    EXPECT_EQ(windows.currentRow(Id::TextureList), -1);
    expectState(InterfaceState::ModelOpen);
}

} // namespace
} // namespace sw::test
