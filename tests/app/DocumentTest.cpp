// The menu's commands and keys: opening, saving and closing a model, and the windows the
// menu opens.

#include "app/ShellFixture.h"
#include "support/TextureFiles.h"

#include <gmock/gmock.h>

namespace sw::test {
namespace {

using Document = ShellFixture;
using MainCommands = ShellFixture;
using Kind = FileDialogRequest::Kind;

const Box kSaveQuestion{Window::Main, "Save?", "Skinweaver 1.1", kMbYesNo};
const Box kRevertQuestion{Window::Main, "This will revert to the saved file.\n\nAre you sure?",
                          "Skinweaver 1.1", kMbYesNo};

// A dialog as it was asked for: kind, owner, initial path, the number of filters and the
// first, the default suffix, and whether the file must exist, the path must exist and
// replacing a file asks first.
auto asked(const FakeFileDialogs::Shown& shown) {
    const FileDialogRequest& r = shown.request;
    return std::tuple(r.kind, r.owner, shown.initialPath, r.filters.size(),
                      r.filters.at(0).description, r.filters.at(0).pattern, r.defaultSuffix,
                      r.fileMustExist, r.pathMustExist, r.overwritePrompt);
}

TEST_F(Document, OpenFindsTheTexturesInTheModelsFolderAndCloseDeletesThem) {
    dir.write("mat/floor.MAT", matTexture(1, 1, 16, std::string("\xff\xff", 2)));

    openKnight();

    // No model was open, so nothing was asked before the dialog.
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(fake.fileDialogs.shown().size(), 1u);
    EXPECT_EQ(asked(fake.fileDialogs.shown()[0]),
              std::tuple(Kind::Open, Window::Main, "", 1u, "3DO model", "*.3do", "3do", true, true,
                         false));
    expectModelOpen("knight.3do");
    EXPECT_EQ(shell.state.currentDirectory, dir.path().string() + "/");

    const Model& model = *shell.state.currentModel;
    ASSERT_EQ(model.numMaterials(), 2);
    EXPECT_TRUE(model.materials[0].notLoaded); // no wall texture anywhere
    EXPECT_FALSE(model.materials[1].notLoaded);
    const std::array textures{model.materials[0].glTexture, model.materials[1].glTexture};
    EXPECT_TRUE(glIsTexture(textures[0]) && glIsTexture(textures[1]));

    command(Id::MenuClose); // "Save?" answered No

    EXPECT_EQ(boxes(), std::vector{kSaveQuestion});
    expectNoModel();
    EXPECT_FALSE(glIsTexture(textures[0]) || glIsTexture(textures[1]));
}

// "Save?" before Open and Close: No saves nothing and the command goes on; Yes offers the save
// dialog, which starts from the open file, asks before replacing one and makes the chosen name
// the open file's, and the command goes on once the model is saved. A cancelled save dialog
// stops the command, so the model stays open with its changes. An edit is never saved unasked.
TEST_F(Document, SaveQuestionSavesOnlyOnYesToTheChosenName) {
    openKnight();
    shell.state.currentModel->insertOffset = {1, 2, 3};
    auto expectedFiles = files();
    // Every dialog without a scripted answer is cancelled.
    const auto answerAndCancel = [this](int answer, Id id) {
        fake.messageBoxes.clear();
        fake.messageBoxes.answer(answer);
        command(id);
        EXPECT_EQ(boxes(), std::vector{kSaveQuestion});
    };
    answerAndCancel(kIdNo, Id::MenuOpen); // only the open dialog follows
    expectModelOpen("knight.3do");

    fake.fileDialogs.choose(pathOf("copy.3do"), "copy.3do");
    answerAndCancel(kIdYes, Id::MenuOpen); // the save dialog, then the open dialog
    expectModelOpen("copy.3do");
    const auto& shown = fake.fileDialogs.shown();
    EXPECT_EQ(asked(shown[2]), std::tuple(Kind::Save, Window::Main, pathOf("knight.3do"), 1u,
                                          "3DO model", "*.3do", "3do", false, true, true));
    expectedFiles["copy.3do"] = shell.state.currentModel->outputText();
    EXPECT_EQ(files(), expectedFiles);

    shell.state.currentModel->insertOffset = {4, 5, 6};
    answerAndCancel(kIdYes, Id::MenuClose); // the save dialog, cancelled
    expectModelOpen("copy.3do");
    EXPECT_EQ(files(), expectedFiles);
    std::vector<Kind> kinds;
    for (const auto& dialog : shown)
        kinds.push_back(dialog.request.kind);
    EXPECT_EQ(kinds, (std::vector{Kind::Open, Kind::Open, Kind::Save, Kind::Open, Kind::Save}));
}

// Open with old.3do open, answering No to "Save?": only names ending in "3do" count, in any
// case, whatever the file holds; Open closes the old model before it reads the new one, so a
// file that fails to load leaves none.
TEST_F(Document, OpenTakesOnlyModelFilesNamed3do) {
    const char* const refusal = "Please select a .3do file.";
    const struct {
        const char* fileName;
        std::string text;    // of the file
        const char* message; // the refusal or failure shown after "Save?", if any
        const char* caption;
        const char* openAfter; // the model open afterwards, if any
    } rows[] = {
        {"KNIGHT.3DO", kTriangleModel, nullptr, nullptr, "KNIGHT.3DO"},
        {"knight.txt", kTriangleModel, refusal, "Skinweaver 1.1", "old.3do"},
        {"3do", kTriangleModel, nullptr, nullptr, "3do"},
        {"do", kTriangleModel, refusal, "Skinweaver 1.1", "old.3do"},
        {"bad.3do", "not a model", "Error loading file.", "File error", nullptr},
        {"bad.3do", replaced(kTriangleModel, "3 0, 0 1, 1 2, 2", "3 0, 0 1, 1 7, 2"),
         "Error initializing model.\n\nFace 0 of mesh 0 (tri) names vertex 7, but the mesh has "
         "3 vertices.",
         "Error", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fileName);
        if (shell.state.currentModel)
            command(Id::MenuClose); // answered No
        fake.messageBoxes.clear();
        dir.write("old.3do", kTriangleModel);
        open("old.3do");
        dir.write(row.fileName, row.text);
        open(row.fileName); // "Save?" answered No
        std::vector expected{kSaveQuestion};
        if (row.message != nullptr)
            expected.push_back({Window::Main, row.message, row.caption, kMbOk});
        EXPECT_EQ(boxes(), expected);
        if (row.openAfter != nullptr) {
            expectModelOpen(row.openAfter);
        } else {
            expectNoModel();
            EXPECT_EQ(shell.state.currentPath, "");
        }
    }
}

TEST_F(Document, RevertReadsTheFileAgainAndDropsEveryEditAndTheChosenTexture) {
    openKnight();
    Model& edited = *shell.state.currentModel;
    edited.meshes[0].glTxverts[0].u = 0.5;
    edited.insertOffset = {1, 2, 3};
    shell.onKeyDown(Window::Main, vk::kLeft);
    // A texture chosen, as the control panel chooses one.
    windows.setCurrentRow(Id::TextureList, 0);
    setTextureChosen(shell.state, windows, true);
    // What is read again is the file as it is on the disk now.
    dir.write("knight.3do", replaced(kTriangleModel, "NAME tri", "NAME triangle"));

    command(Id::MenuRevert); // answered No
    EXPECT_EQ(shell.state.currentModel.get(), &edited);
    EXPECT_EQ(windows.scrollPos(Id::PanXBar), -1);

    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRevert);

    EXPECT_EQ(boxes(), (std::vector{kRevertQuestion, kRevertQuestion}));
    EXPECT_EQ(fake.fileDialogs.shown().size(), 1u); // Revert never offers to save
    expectModelOpen("knight.3do", {"triangle"});
    const Model& reverted = *shell.state.currentModel;
    EXPECT_EQ(reverted.meshes[0].glTxverts[0].u, 0.0);
    EXPECT_EQ(reverted.insertOffset.z, -0.1);
    EXPECT_EQ(shell.state.currentPath, pathOf("knight.3do"));
}

// Save writes the open file, Save as the chosen one; a write that fails is reported and leaves
// the folder as it was, and Save as makes the chosen name the open file's even so.
TEST_F(Document, AFailedWriteIsReportedWithThePathAndTheReason) {
    openKnight();
    std::filesystem::create_directories(dir.path() / "knight.3do.d");
    const std::tuple<Id, const char*, const char*> rows[] = {
        {Id::MenuSave, "knight.3do.d", "There is a folder of that name."},
        {Id::MenuSaveAs, "knight.3do/copy.3do",
         "The path before its name is a file, not a folder."}};
    for (const auto& [id, target, reason] : rows) {
        const std::string name = std::filesystem::path(target).filename().string();
        if (id == Id::MenuSave)
            shell.state.currentPath = pathOf(target);
        else
            fake.fileDialogs.choose(pathOf(target), name);
        fake.messageBoxes.clear();
        const auto filesBefore = files();
        command(id);
        EXPECT_EQ(boxes(), (std::vector<Box>{
                               {Window::Main,
                                "The model was not saved to\n" + pathOf(target) + "\n\n" + reason,
                                "File error", kMbOk | kMbIconExclamation}}));
        EXPECT_EQ(files(), filesBefore); // no temporary file left behind either
        EXPECT_EQ(windows.window(Window::Main).text,
                  "Skinweaver 1.1 - " + (id == Id::MenuSave ? "knight.3do" : name));
    }
}

// Unsaved changes are kept on the disk a timer tick after a change and as the model goes; the
// next open of the file offers them while they are newer than it. Yes opens them, unsaved; No,
// a save or Revert forgets them; kept changes that do not read are reported and forgotten.
TEST_F(Document, UnsavedChangesAreKeptAndOfferedWhenTheFileOpensAgain) {
    TempDir state;
    RecoveryFile& recovery = shell.state.recovery;
    recovery.setFolder(state.path().string());
    openKnight();
    const std::string knight = pathOf("knight.3do");
    const std::string kept = recovery.pathFor(knight);
    const auto edit = [this] {
        select(Id::TextureList, 0);
        command(Id::Front);
    };
    const auto reopen = [&](int answer) {
        shell.onClose(Window::Main); // the close box: nothing asked, the changes kept
        fake.messageBoxes.clear();
        fake.messageBoxes.answer(answer);
        shell.openFromCommandLine(knight);
    };
    edit();
    shell.onTimer(Timer::Recovery);
    recovery.wait();
    const std::string edited = shell.state.currentModel->outputText();
    EXPECT_EQ(readFile(kept), edited);

    reopen(kIdYes);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_THAT(boxes()[0].text, testing::MatchesRegex("Unsaved changes to knight.3do from "
                                                       "20[0-9][0-9]-[01][0-9]-[0-3][0-9] "
                                                       "[0-2][0-9]:[0-5][0-9] were kept. Open "
                                                       "them\\?"));
    EXPECT_EQ(shell.state.currentModel->outputText(), edited);
    EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1 - knight.3do*");

    reopen(kIdNo);
    EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1 - knight.3do");
    EXPECT_FALSE(std::filesystem::exists(kept));

    // Changes older than the file are not offered; saved ones are forgotten.
    edit();
    shell.onClose(Window::Main);
    std::filesystem::last_write_time(knight, std::filesystem::last_write_time(kept) +
                                                 std::chrono::seconds(1));
    fake.messageBoxes.clear();
    shell.openFromCommandLine(knight);
    EXPECT_TRUE(boxes().empty());
    edit();
    fake.messageBoxes.answer(kIdYes); // saved although its texture is nowhere
    command(Id::MenuSave);
    shell.onTimer(Timer::Recovery);
    EXPECT_FALSE(std::filesystem::exists(kept));
    // Save as forgets what was kept for the file it replaces too.
    const std::string copy = pathOf("copy.3do");
    const std::string keptCopy =
        state.write(std::filesystem::path(recovery.pathFor(copy)).filename().string(), "kept");
    fake.fileDialogs.choose(copy, "copy.3do");
    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuSaveAs);
    EXPECT_FALSE(std::filesystem::exists(keptCopy));

    state.write(std::filesystem::path(kept).filename().string(), "3DO damaged");
    reopen(kIdYes);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1], (Box{Window::Main,
                               "The unsaved changes kept for knight.3do could not be read. The "
                               "file opens as it was saved.",
                               "File error", kMbOk | kMbIconExclamation}));
    EXPECT_EQ(windows.window(Window::Main).text, "Skinweaver 1.1 - knight.3do");
    EXPECT_FALSE(std::filesystem::exists(kept));
}

// Without a model the command says so and does nothing else. The triangle's lowest vertex
// lies at z = -0.25, its file's offset is (0, 0, -0.1); Save writes the open file in place.
TEST_F(MainCommands, OffsetPutsTheLowestPointOnTheGroundOnlyOnYesAndTheNextSaveWritesIt) {
    command(Id::MenuRecalculateOffset);
    EXPECT_EQ(boxes(), (std::vector<Box>{{Window::Main, "You must open a 3do file first.",
                                          "Re-calculate character offset", kMbOk}}));
    expectNoModel();

    fake.messageBoxes.clear();
    const std::string path =
        dir.write("knight.3do", replaced(kTriangleModel, "0: 0 0 0 0", "0: 0 0 -0.25 0"));
    open("knight.3do");
    for (const auto& [answer, offset] : {std::pair{kIdNo, "-0.1"}, {kIdYes, "-0.25"}}) {
        fake.messageBoxes.answer(answer);
        command(Id::MenuRecalculateOffset);
        command(Id::MenuSave);
        EXPECT_NE(readFile(path).find(std::string("INSERT OFFSET 0 0 ") + offset + "\r\n"),
                  std::string::npos);
    }
    const Box question{Window::Main,
                       "This will adjust the insert offset so that the\ncharacter's feet are "
                       "aligned with the ground in-game.\n\nThis is not desirable for "
                       "non-character 3do's.\n\nIf you choose Yes, the offset will be adjusted "
                       "to:\n0   0   -0.250000",
                       "Re-calculate character offset", kMbYesNo};
    EXPECT_EQ(boxes(), (std::vector{question, question}));
    // Nothing else follows the change: the view and the interface stay as they were.
    expectModelOpen("knight.3do");
}

// "Preferences..." shows and focuses the Preferences window; the control panel
// toggles by its menu item and by Enter in the main window. The close box of either only
// hides it.
TEST_F(MainCommands, ToolWindowsShowAndHide) {
    command(Id::MenuPreferences); // shown, as the GUI test sees
    EXPECT_EQ(windows.focusedWindow, Window::Options);
    shell.onClose(Window::Options);
    EXPECT_FALSE(windows.window(Window::Options).visible);

    windows.focusedWindow.reset();
    command(Id::MenuToggleControlPanel);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    EXPECT_FALSE(windows.focusedWindow.has_value()); // the menu leaves the focus alone
    shell.onKeyDown(Window::Main, vk::kReturn);
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_EQ(windows.focusedWindow, Window::Main);
    shell.onKeyDown(Window::Controls, vk::kReturn); // that window's key
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    shell.onClose(Window::Controls);
    EXPECT_FALSE(windows.window(Window::Controls).visible);
    command(Id::MenuToggleControlPanel); // one toggle shows it again
    EXPECT_TRUE(windows.window(Window::Controls).visible);
    EXPECT_TRUE(windows.destroyedWindows.empty());
    EXPECT_FALSE(windows.quitCode.has_value());
}

TEST_F(MainCommands, AboutShowsShortLinesSeparatedByBlankLinesUnderTheProgramsName) {
    command(Id::MenuAbout);
    const std::string text = boxes().at(0).text;
    EXPECT_EQ(boxes(), std::vector<Box>({{Window::Main, text, "Skinweaver 1.1", kMbOk}}));
    EXPECT_NE(text.find("\n\n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
}

using Values = std::map<std::string, std::string>;

// A first start (no settings yet) with knight.3do open, whose "wall" is an 8-bit MAT of one
// texel of colour 5, and a CMP palette pal.cmp beside it.
class PreferencesWindow : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        dir.write("mat/wall.mat", matTexture(1, 1, 8, "\x05"));
        openKnight();
        fake.settings.values.clear(); // to see what "ok" stores
    }

    void show() { command(Id::MenuPreferences); }
    void browse(const std::string& path) {
        fake.fileDialogs.choose(path, path.substr(path.find_last_of('/') + 1));
        command(Id::Browse);
    }
    bool shown() const { return windows.window(Window::Options).visible; }
    // The colour of the wall's one texel as its GL texture holds it.
    std::vector<std::uint8_t> wallTexel() {
        std::vector<std::uint8_t> texel(3);
        glBindTexture(GL_TEXTURE_2D, shell.state.currentModel->materials[0].glTexture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texel.data());
        return texel;
    }

    const std::string palettePath = dir.write("pal.cmp", cmpFile());
};

TEST_F(PreferencesWindow, OkStoresWhatItShowsAndReloadsThePaletteAndItsTexturesOrReportsIt) {
    show();
    browse(palettePath);
    command(Id::BmpFirst);
    windows.setChecked(Id::MatFallback, false); // the boxes check themselves when clicked
    EXPECT_EQ(std::pair(windows.isChecked(Id::BmpFirst), windows.isChecked(Id::MatFirst)),
              std::pair(true, false));
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values,
              (Values{{"CmpFile", palettePath}, {"PrimaryTex", "BMP"}, {"SecondaryTex", "BMP"}}));
    EXPECT_FALSE(shown());
    EXPECT_EQ(wallTexel(), cmpColours({5}));

    // "ok" without a change stores again and reads the palette file again.
    std::string changed = cmpFile();
    changed[64 + 5 * 3] = 9;
    dir.write("pal.cmp", changed);
    fake.settings.values.clear();
    show();
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values.at("CmpFile"), palettePath);
    EXPECT_EQ(wallTexel(), (std::vector<std::uint8_t>{9, 250, 2}));
    EXPECT_TRUE(boxes().empty());

    // A palette that is no CMP file is stored, reported and not used.
    const std::string bad = dir.write("bad.cmp", cmpFile("XYZ"));
    show();
    browse(bad);
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values.at("CmpFile"), bad);
    EXPECT_EQ(boxes(), std::vector<Box>({{Window::Main, bad, "Invalid CMP File", kMbOk}}));
    EXPECT_EQ(shell.state.preferences.cmpFile, "Default (no file necessary)");
    // A longer text is cut to the 259 characters of a path.
    show();
    windows.setText(Id::PaletteFile, std::string(300, 'p'));
    command(Id::Ok);
    EXPECT_EQ(fake.settings.values.at("CmpFile"), std::string(259, 'p'));
}

TEST_F(PreferencesWindow, CancelAndEscapeForgetTheEditsEnterKeepsThem) {
    const std::string other = dir.write("other.cmp", cmpFile());
    show();
    browse(palettePath);
    command(Id::Cancel);
    EXPECT_FALSE(shown());
    show();
    EXPECT_EQ(windows.text(Id::PaletteFile), "Default (no file necessary)");
    browse(other);
    shell.onKeyDown(Window::Options, vk::kEscape);
    EXPECT_FALSE(shown());
    EXPECT_TRUE(fake.settings.values.empty());
    EXPECT_EQ(shell.state.preferences.cmpFile, "Default (no file necessary)");

    // The palette dialog opens on the file chosen last; "default" puts the label back.
    show();
    command(Id::Browse); // cancelled
    EXPECT_EQ(fake.fileDialogs.shown().back().initialPath, other);
    EXPECT_EQ(fake.fileDialogs.shown().back().request.filters.at(0).pattern, "*.cmp");
    browse(palettePath);
    command(Id::DefaultPalette);
    shell.onKeyDown(Window::Options, vk::kReturn);
    EXPECT_EQ(fake.settings.values, kDefaultSettings);
    EXPECT_FALSE(shown());
}

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

    const std::string folder = pathOf("mods");
    const std::string game = pathOf("game");
    const std::string archive =
        dir.write("Res2.gob", gobArchive({{"3do\\mat\\FLOOR.MAT", matColour(2)}}));
    const std::string damaged = dir.write("cut.gob", withI32(gobArchive({{"a", "b"}}), 16, 999));
};

TEST_F(SourcesWindow, KeepsTheUsersOrderAndStoresEveryChange) {
    command(Id::MenuTextureSources);
    // The window and its controls as the fake lists them (reload greyed: no model to reload).
    std::istringstream tree(windows.tree());
    std::string layout;
    for (std::string line; std::getline(tree, line);)
        layout += line.find(" sources ") < 8 ? line + "\n" : "";
    EXPECT_EQ(layout, dataFile("sources-window.txt"));
    expectList({folder, archive, damaged}, -1);
    EXPECT_EQ(status(), "Skipped: cut.gob\nthe archive's directory points outside the file");
    // Greyed without a row, the buttons change nothing.
    command(Id::RemoveSource);
    command(Id::MoveSourceDown);
    expectList({folder, archive, damaged}, -1);

    select(Id::SourcesList, 2);
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
    select(Id::SourcesList, 0);
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
    fake.fileDialogs.choose(pathOf("gone/"), "gone");
    command(Id::AddSourceFolder);
    EXPECT_EQ(status(), "Not added: gone\nthere is no such folder or archive");
    const auto& shown = fake.fileDialogs.shown();
    EXPECT_EQ(std::tuple(shown[0].request.kind, shown[0].request.owner, shown[0].initialPath),
              std::tuple(Kind::Folder, Window::Sources, archive));
    EXPECT_EQ(shown[1].initialPath, folder);
    EXPECT_EQ(shown[2].request.filters[0].pattern, "*.gob;*.goo;*.GOB;*.GOO");

    command(Id::CloseSources);
    EXPECT_FALSE(windows.window(Window::Sources).visible);
    // Opened again, the window built the first time comes back with the focus.
    windows.failCreation.insert(Window::Sources);
    command(Id::MenuTextureSources);
    EXPECT_EQ(std::tuple(windows.window(Window::Sources).visible, windows.focusedWindow),
              std::tuple(true, Window::Sources));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SourcesWindow, ChangesApplyToTheNextModelAndReloadAppliesThemToTheOpenOne) {
    // Neither the model's folder nor its layout has a floor; the damaged archive is passed
    // over.
    dir.write("mod/3do/knight.3do", kTriangleModel);
    open("mod/3do/knight.3do");
    expectModelOpen("knight.3do");
    const auto floor = [this] { return shell.state.currentModel->materials.at(1); };
    EXPECT_EQ(std::tuple(floor().path, floor().notLoaded, floor().glTexture != 0),
              std::tuple(archive + "/3do/mat/floor.MAT", false, true));

    // The wall is nowhere: each place searched is listed, the layout's without its "..".
    command(Id::MenuTextureSources);
    EXPECT_TRUE(windows.isEnabled(Id::ReloadModel));
    EXPECT_EQ(rows(Id::MissingTextures), std::vector<std::string>{"wall"});
    const std::vector<std::string>& places = rows(Id::PlacesSearched);
    ASSERT_EQ(places.size(), 16u); // MAT, then BMP: 4 beside the model, 2 in the layout, 10 in
                                   // the folder and the archive
    EXPECT_EQ(places[0], pathOf("mod/3do/mat/wall.MAT"));
    EXPECT_EQ(places[4], pathOf("mod/mat/wall.MAT"));
    EXPECT_EQ(places[15], archive + "/3do/bmp/wall.BMP");
    fake.fileDialogs.choose(game, "game");
    command(Id::AddSourceFolder);
    for (int i = 0; i < 3; ++i)
        command(Id::MoveSourceUp);
    expectList({game, folder, archive, damaged}, 0);
    EXPECT_EQ(floor().path, archive + "/3do/mat/floor.MAT");

    std::filesystem::remove(damaged); // gone since the list was shown
    fake.messageBoxes.answer(kIdYes);
    command(Id::ReloadModel);
    EXPECT_EQ(boxes(), std::vector{kRevertQuestion});
    ASSERT_NE(shell.state.currentModel, nullptr);
    EXPECT_EQ(floor().path, game + "/mat/floor.MAT");
    EXPECT_FALSE(floor().notLoaded);
    EXPECT_EQ(rows(Id::MissingTextures), std::vector<std::string>{"wall"});
    EXPECT_EQ(status(), "Skipped: cut.gob\nthere is no such folder or archive");
}

} // namespace
} // namespace sw::test
