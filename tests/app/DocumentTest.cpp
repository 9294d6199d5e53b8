#include "app/ShellFixture.h"
#include "model/Model.h"
#include "support/TextureFiles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace sw::test {
namespace {

using Document = ShellFixture;
using Kind = FileDialogRequest::Kind;

const Box kSaveQuestion{Window::Main, "Save?", "Skinweaver 1.1", kMbYesNo};

// A dialog as it was asked for: kind, owner, initial path, the number of filters and the
// first, the default suffix, and whether the file must exist, the path must exist and
// replacing a file asks first.
auto asked(const FakeFileDialogs::Shown& shown) {
    const FileDialogRequest& r = shown.request;
    const FileFilter first = r.filters.empty() ? FileFilter{} : r.filters[0];
    return std::tuple(r.kind, r.owner, shown.initialPath, r.filters.size(), first.description,
                      first.pattern, r.defaultSuffix, r.fileMustExist, r.pathMustExist,
                      r.overwritePrompt);
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
    std::vector<GLuint> textures;
    for (const Material& material : model.materials) {
        EXPECT_TRUE(glIsTexture(material.glTexture));
        textures.push_back(material.glTexture);
    }

    fake.messageBoxes.answer(kIdNo);
    command(Id::MenuClose);

    EXPECT_EQ(boxes(), std::vector{kSaveQuestion});
    expectNoModel();
    for (GLuint texture : textures)
        EXPECT_FALSE(glIsTexture(texture));
}

// "Save?" before Open and Close: No saves nothing; Yes offers the save dialog, which starts
// from the open file, asks before replacing one and makes the chosen name the open file's; the
// command goes on either way. An edit is never saved unasked.
TEST_F(Document, SaveQuestionSavesOnlyOnYesToTheChosenName) {
    openKnight();
    shell.state.currentModel->insertOffset = {1, 2, 3};
    auto expectedFiles = files();
    const auto answerAndCancel = [this](int answer, Id id) {
        fake.messageBoxes.clear();
        fake.messageBoxes.answer(answer);
        fake.fileDialogs.cancel();
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
    expectNoModel();
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
        writeModel("old.3do");
        open("old.3do");
        writeModel(row.fileName, row.text);
        fake.messageBoxes.answer(kIdNo);
        open(row.fileName);
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

    fake.messageBoxes.answer(kIdNo);
    command(Id::MenuRevert);
    EXPECT_EQ(shell.state.currentModel.get(), &edited);
    EXPECT_EQ(windows.scrollPos(Id::PanXBar), -1);

    fake.messageBoxes.answer(kIdYes);
    command(Id::MenuRevert);

    const Box question{Window::Main, "This will revert to the saved file.\n\nAre you sure?",
                       "Skinweaver 1.1", kMbYesNo};
    EXPECT_EQ(boxes(), (std::vector{question, question}));
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
        {Id::MenuSaveAs, "missing/copy.3do", "Its folder does not exist."},
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
        EXPECT_EQ(title(), "Skinweaver 1.1 - " + (id == Id::MenuSave ? "knight.3do" : name));
    }
}

} // namespace
} // namespace sw::test
