#include "app/ShellFixture.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace sw::test {
namespace {

using Kind = FileDialogRequest::Kind;

// An empty folder and two archives stored as sources before the program starts: the first
// archive holds the triangle model's floor, the second is damaged. The folder "game", no
// source yet, holds a floor too.
class SourcesWindow : public ShellFixture {
protected:
    SourcesWindow() {
        std::filesystem::create_directories(folder);
        dir.write("game/mat/floor.MAT", matColour(1));
        fake.settings.lists["TextureSources"] = {folder, archive, damaged};
    }

    std::string status() const { return windows.text(Id::SourcesStatus); }
    // The rows, which the stored list always follows, and the row selected.
    void expectList(const std::vector<std::string>& sources, int row) const {
        EXPECT_EQ(rows(Id::SourcesList), sources);
        EXPECT_EQ(fake.settings.lists.at("TextureSources"), sources);
        EXPECT_EQ(windows.currentRow(Id::SourcesList), row);
        EXPECT_EQ(windows.isEnabled(Id::RemoveSource), row >= 0);
        EXPECT_EQ(windows.isEnabled(Id::MoveSourceUp), row > 0);
        EXPECT_EQ(windows.isEnabled(Id::MoveSourceDown),
                  row >= 0 && row + 1 < static_cast<int>(sources.size()));
    }
    void select(int row) {
        windows.setCurrentRow(Id::SourcesList, row);
        shell.onCommand(Id::SourcesList, Notification::SelectionChange);
    }

    const std::string folder = pathOf("mods");
    const std::string game = pathOf("game");
    const std::string archive =
        dir.write("Res2.gob", gobArchive({{"3do\\mat\\FLOOR.MAT", matColour(2)}}));
    const std::string damaged = dir.write("cut.gob", withI32(gobArchive({{"a", "b"}}), 16, 999));
};

TEST_F(SourcesWindow, KeepsTheUsersOrderAndStoresEveryChange) {
    command(Id::MenuTextureSources);
    const auto& window = windows.window(Window::Sources);
    EXPECT_EQ(std::tuple(window.text, window.rect, window.visible),
              std::tuple(std::string("Texture sources"), Rect{24, 48, 400, 264}, true));
    EXPECT_FALSE(windows.isEnabled(Id::ReloadModel)); // no model to reload
    expectList({folder, archive, damaged}, -1);
    EXPECT_EQ(status(), "Skipped: cut.gob\nthe archive's directory points outside the file");

    select(2);
    command(Id::MoveSourceUp);
    expectList({folder, damaged, archive}, 1);
    command(Id::RemoveSource);
    expectList({folder, archive}, 1);
    EXPECT_EQ(status(), "Searched top to bottom for textures that are neither\n"
                        "beside the model nor in its ../mat folder. Changes apply\n"
                        "to the next model opened; \"reload\" opens this one again.");

    // The dialogs start at the chosen source. One listed already is only chosen, and one that
    // a load would skip is not added.
    fake.fileDialogs.choose(game, "game");
    command(Id::AddSourceFolder);
    expectList({folder, archive, game}, 2);
    select(0);
    command(Id::MoveSourceDown);
    expectList({archive, folder, game}, 1);
    fake.fileDialogs.choose(archive, "Res2.gob");
    command(Id::AddSourceArchive);
    expectList({archive, folder, game}, 0);
    const std::string notes = dir.write("notes.gob", "notes");
    fake.fileDialogs.choose(notes, "notes.gob");
    command(Id::AddSourceArchive);
    expectList({archive, folder, game}, 0);
    EXPECT_EQ(status(), "Not added: notes.gob\nthe file is no GOB archive");
    const auto& shown = fake.fileDialogs.shown();
    EXPECT_EQ(std::tuple(shown[0].request.kind, shown[0].request.owner, shown[0].initialPath),
              std::tuple(Kind::Folder, Window::Sources, archive));
    EXPECT_EQ(shown[1].initialPath, folder);
    EXPECT_EQ(shown[2].request.filters[0].pattern, "*.gob;*.goo;*.GOB;*.GOO");

    command(Id::CloseSources);
    EXPECT_FALSE(windows.window(Window::Sources).visible);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SourcesWindow, ChangesApplyToTheNextModelAndReloadAppliesThemToTheOpenOne) {
    // Neither the model's folder nor its layout has a floor; the damaged archive is passed
    // over.
    writeModel("mod/3do/knight.3do");
    open("mod/3do/knight.3do");
    expectModelOpen("knight.3do");
    const auto floor = [this] { return shell.state.currentModel->materials.at(1); };
    EXPECT_EQ(floor().path, archive + "/3do/mat/floor.MAT");
    EXPECT_FALSE(floor().notLoaded);
    EXPECT_NE(floor().glTexture, 0u);

    command(Id::MenuTextureSources);
    EXPECT_TRUE(windows.isEnabled(Id::ReloadModel));
    fake.fileDialogs.choose(game, "game");
    command(Id::AddSourceFolder);
    for (int i = 0; i < 3; ++i)
        command(Id::MoveSourceUp);
    expectList({game, folder, archive, damaged}, 0);
    EXPECT_EQ(floor().path, archive + "/3do/mat/floor.MAT");

    fake.messageBoxes.answer(kIdYes);
    command(Id::ReloadModel);
    EXPECT_EQ(boxes(), (std::vector<Box>{{Window::Main,
                                          "This will revert to the saved file.\n\nAre you sure?",
                                          "Skinweaver 1.1", kMbYesNo}}));
    ASSERT_NE(shell.state.currentModel, nullptr);
    EXPECT_EQ(floor().path, game + "/mat/floor.MAT");
    EXPECT_FALSE(floor().notLoaded);
}

} // namespace
} // namespace sw::test
