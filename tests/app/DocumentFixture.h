#pragma once

#include "app/ShellFixture.h"
#include "support/ModelText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace sw::test {

// A started shell and a folder of model files, with the File menu driven as a user drives it.
class DocumentFixture : public ShellFixture {
protected:
    // Writes a model file into the folder; returns its full path.
    std::string writeModel(const std::string& name, const std::string& text = kTriangleModel) {
        return dir.write(name, text);
    }
    std::string pathOf(const std::string& name) const { return (dir.path() / name).string(); }

    void command(ControlId id) { shell.onCommand(id, Notification::Clicked); }
    // "&Open..." with no model open, choosing `name` in the folder.
    void open(const std::string& name) {
        fake.fileDialogs.choose(pathOf(name), name);
        command(ControlId::MenuOpen);
    }

    // Every file of the folder with its contents, to see what a command wrote.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file())
                all[entry.path().lexically_relative(dir.path()).string()] = readFile(entry.path());
        return all;
    }

    std::string title() const { return windows.window(Window::Main).title; }
    const std::vector<std::string>& rows(ControlId list) const {
        return windows.control(list).rows;
    }

    // The state without a model: plain title, empty lists, the no-model controls.
    void expectNoModel() const {
        EXPECT_EQ(shell.state.currentModel, nullptr);
        EXPECT_EQ(title(), "Skinweaver 1.1");
        EXPECT_TRUE(rows(ControlId::MeshList).empty());
        EXPECT_TRUE(rows(ControlId::TextureList).empty());
        EXPECT_FALSE(shell.state.modelViewActive);
        EXPECT_EQ(shell.state.interfaceState, InterfaceState::NoModel);
        for (ControlId id : {ControlId::MenuRevert, ControlId::MenuClose, ControlId::MenuSave,
                             ControlId::MenuSaveAs, ControlId::MeshList, ControlId::PitchBar,
                             ControlId::ResetViewButton, ControlId::GlView})
            EXPECT_FALSE(windows.isEnabled(id)) << toInt(id);
        EXPECT_TRUE(windows.isEnabled(ControlId::MenuOpen));
    }

    // The state just after a model opened: its name in the title, the mesh list with its first
    // row selected, the first mesh's textures without a selection, the model controls enabled
    // and the view fitted.
    void expectModelOpen(const std::string& fileName, const std::vector<std::string>& meshes,
                         const std::vector<std::string>& textures) const {
        ASSERT_NE(shell.state.currentModel, nullptr);
        EXPECT_EQ(title(), "Skinweaver 1.1 - " + fileName);
        EXPECT_EQ(shell.state.currentFileName, fileName);
        EXPECT_EQ(rows(ControlId::MeshList), meshes);
        EXPECT_EQ(windows.currentRow(ControlId::MeshList), 0);
        EXPECT_EQ(rows(ControlId::TextureList), textures);
        EXPECT_EQ(windows.currentRow(ControlId::TextureList), -1);
        EXPECT_TRUE(shell.state.modelViewActive);
        EXPECT_EQ(shell.state.interfaceState, InterfaceState::ModelOpen);
        for (ControlId id : {ControlId::MenuRevert, ControlId::MenuClose, ControlId::MenuSave,
                             ControlId::MenuSaveAs, ControlId::MeshList, ControlId::TextureList,
                             ControlId::PitchBar, ControlId::ResetViewButton, ControlId::GlView})
            EXPECT_TRUE(windows.isEnabled(id)) << toInt(id);
        for (ControlId id : {ControlId::ChangeTexture, ControlId::Front, ControlId::Edit})
            EXPECT_FALSE(windows.isEnabled(id)) << toInt(id);
        expectViewReset();
    }

    void expectViewReset() const {
        for (ControlId bar : {ControlId::PitchBar, ControlId::YawBar, ControlId::ZoomBar,
                              ControlId::PanXBar, ControlId::PanYBar})
            EXPECT_EQ(windows.scrollPos(bar), 0) << toInt(bar);
        EXPECT_EQ(windows.text(ControlId::MouseModeButton), "M");
    }

    TempDir dir;
};

} // namespace sw::test
