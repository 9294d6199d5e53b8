#pragma once

#include "app/InterfaceState.h"
#include "app/Shell.h"
#include "model/Model.h"
#include "platform/Platform.h"
#include "support/FakeWindowSystem.h"
#include "support/Fakes.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace sw::test {

// The app tests include what they share here.

// The whole platform in memory, for running the shell without a display.
struct FakePlatform {
    FakeWindowSystem windows;
    FakeMessageBox messageBoxes;
    FakeFileDialogs fileDialogs;
    FakeSettings settings;
    FakeImageFiles images;
    FakeFileWatcher fileWatcher;
    Platform platform{windows, messageBoxes, fileDialogs, settings, images, fileWatcher};
};

using Id = ControlId;
using Box = FakeMessageBox::Shown;

// The preferences a first start stores.
inline const std::map<std::string, std::string> kDefaultSettings{
    {"CmpFile", "Default (no file necessary)"}, {"PrimaryTex", "MAT"}, {"SecondaryTex", "BOTH"}};

// A shell started on the in-memory platform and a folder of model files, with the menu driven
// as a user drives it.
class ShellFixture : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shell.start()); }

    std::string pathOf(const std::string& name) const { return (dir.path() / name).string(); }

    void command(ControlId id) { shell.onCommand(id, Notification::Clicked); }
    // A row of a list chosen by the user.
    void select(Id list, int row) {
        windows.setCurrentRow(list, row);
        shell.onCommand(list, Notification::SelectionChange);
    }
    // "&Open..." with no model open, choosing `name` in the folder.
    void open(const std::string& name) {
        fake.fileDialogs.choose(pathOf(name), name);
        command(Id::MenuOpen);
    }
    // The triangle model written as knight.3do and opened.
    void openKnight() {
        dir.write("knight.3do", kTriangleModel);
        open("knight.3do");
    }
    // Every file of the folder with its contents, to see what a command wrote.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file())
                all[entry.path().lexically_relative(dir.path()).string()] = readFile(entry.path());
        return all;
    }

    const std::vector<std::string>& rows(Id list) const { return windows.control(list).rows; }
    const std::vector<Box>& boxes() const { return fake.messageBoxes.shown(); }

    // The interface is in the state, and exactly the controls that it enables are enabled:
    // tests/data/interface-states.txt has a line per control, "+" or "-" for NoModel,
    // ModelOpen, TextureChosen and Editing.
    void expectState(InterfaceState state) const {
        EXPECT_EQ(shell.state.interfaceState, state);
        static const std::map<Id, std::string> table = [] {
            std::map<Id, std::string> byId;
            std::istringstream lines(dataFile("interface-states.txt"));
            for (std::string line; std::getline(lines, line);)
                byId[static_cast<Id>(std::stoi(line))] = line.substr(line.find(' ') + 1, 4);
            return byId;
        }();
        const auto column = static_cast<std::size_t>(state) - 1;
        // Undo and Redo follow the history rather than the state: the table has them without
        // steps. Rotate and flip follow the selection in the texture view.
        const UndoHistory& history = shell.state.history;
        const bool selected = state == InterfaceState::Editing && shell.state.currentEditor &&
                              shell.state.currentEditor->anySelected(*shell.state.currentModel);
        for (const auto& [id, control] : windows.controls)
            EXPECT_EQ(control.enabled, id == Id::MenuUndo   ? history.canUndo()
                                       : id == Id::MenuRedo ? history.canRedo()
                                       : toInt(id) >= toInt(Id::MenuRotateLeft) &&
                                               toInt(id) <= toInt(Id::MenuFlipVertically)
                                           ? selected
                                           : table.at(id).at(column) == '+')
                << "control " << toInt(id);
    }

    // The state without a model: plain title, empty lists, the no-model controls.
    void expectNoModel() const {
        EXPECT_EQ(shell.state.currentModel, nullptr);
        EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1");
        EXPECT_EQ(rows(Id::MeshList).size() + rows(Id::TextureList).size(), 0u);
        EXPECT_FALSE(shell.state.modelViewActive);
        expectState(InterfaceState::NoModel);
    }

    // The state just after a model opened: its name in the title, the mesh list with its first
    // row selected, the first mesh's textures without a selection, the model controls enabled
    // and the view fitted.
    void expectModelOpen(const std::string& fileName,
                         const std::vector<std::string>& meshes = {"tri"},
                         const std::vector<std::string>& textures = {"floor"}) const {
        ASSERT_NE(shell.state.currentModel, nullptr);
        EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1 - " + fileName);
        EXPECT_EQ(rows(Id::MeshList), meshes);
        EXPECT_EQ(windows.currentRow(Id::MeshList), 0);
        EXPECT_EQ(rows(Id::TextureList), textures);
        EXPECT_EQ(windows.currentRow(Id::TextureList), -1);
        EXPECT_TRUE(shell.state.modelViewActive);
        expectState(InterfaceState::ModelOpen);
        expectViewReset();
    }

    void expectViewReset() const {
        EXPECT_EQ(bars(), std::vector(5, 0));
        EXPECT_EQ(windows.text(Id::MouseModeButton), "M");
    }

    // The bars' positions: pitch, yaw, zoom, pan x and pan y.
    std::vector<int> bars() const {
        std::vector<int> positions;
        for (Id bar : {Id::PitchBar, Id::YawBar, Id::ZoomBar, Id::PanXBar, Id::PanYBar})
            positions.push_back(windows.scrollPos(bar));
        return positions;
    }

    FakePlatform fake;
    FakeWindowSystem& windows = fake.windows;
    Shell shell{fake.platform};
    TempDir dir;
};

} // namespace sw::test
