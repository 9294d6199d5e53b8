#include "app/ShellFixture.h"
#include "model/Model.h"
#include "support/TextureFiles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sw::test {
namespace {

using Document = ShellFixture;
using Kind = FileDialogRequest::Kind;

const Box kSaveQuestion{Window::Main, "Save?", "Skinweaver 1.1", kMbYesNo};

std::vector<Kind> dialogKinds(const FakeFileDialogs& dialogs) {
    std::vector<Kind> kinds;
    for (const auto& shown : dialogs.shown())
        kinds.push_back(shown.request.kind);
    return kinds;
}

TEST_F(Document, OpenFindsTheTexturesInTheModelsFolderAndCloseDeletesThem) {
    dir.write("mat/floor.MAT", matTexture(1, 1, 16, std::string("\xff\xff", 2)));

    openKnight();

    // No model was open, so nothing was asked before the dialog.
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(dialogKinds(fake.fileDialogs), std::vector{Kind::Open});
    const FakeFileDialogs::Shown& dialog = fake.fileDialogs.shown()[0];
    EXPECT_EQ(dialog.request.owner, Window::Main);
    ASSERT_EQ(dialog.request.filters.size(), 1u);
    EXPECT_EQ(dialog.request.filters[0].description, "3DO model");
    EXPECT_EQ(dialog.request.filters[0].pattern, "*.3do");
    EXPECT_EQ(dialog.initialPath, "");
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

// "Save?" before Open and Close: No saves nothing, Yes offers the save dialog, which starts
// from the open file, asks before replacing one and makes the chosen name the open file's;
// the command goes on either way. An edit is never saved unasked.
struct SaveQuestionCase {
    const char* name;
    Id command;
    int answer;
    const char* savedAs;     // chosen in the save dialog; none: cancelled or not shown
    std::vector<Kind> after; // the dialogs after the first open, the command's open cancelled
    const char* openAfter;   // the model open afterwards, if any
};

class DocumentSaveQuestion : public ShellFixture,
                             public testing::WithParamInterface<SaveQuestionCase> {};

TEST_P(DocumentSaveQuestion, SavesOnlyOnYesToTheChosenName) {
    const SaveQuestionCase& c = GetParam();
    openKnight();
    shell.state.currentModel->insertOffset = {1, 2, 3};
    auto expectedFiles = files();
    fake.messageBoxes.answer(c.answer);
    if (c.savedAs != nullptr)
        fake.fileDialogs.choose(pathOf(c.savedAs), c.savedAs);
    fake.fileDialogs.cancel();
    command(c.command);

    EXPECT_EQ(boxes(), std::vector{kSaveQuestion});
    std::vector<Kind> kinds{Kind::Open};
    kinds.insert(kinds.end(), c.after.begin(), c.after.end());
    ASSERT_EQ(dialogKinds(fake.fileDialogs), kinds);
    if (c.answer == kIdYes) {
        EXPECT_EQ(fake.fileDialogs.shown()[1].initialPath, pathOf("knight.3do"));
        EXPECT_TRUE(fake.fileDialogs.shown()[1].request.overwritePrompt);
    }
    if (c.openAfter != nullptr)
        expectModelOpen(c.openAfter);
    else
        expectNoModel();
    if (c.savedAs != nullptr)
        expectedFiles[c.savedAs] = shell.state.currentModel->outputText();
    EXPECT_EQ(files(), expectedFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, DocumentSaveQuestion,
    testing::Values(
        SaveQuestionCase{"OpenNo", Id::MenuOpen, kIdNo, nullptr, {Kind::Open}, "knight.3do"},
        SaveQuestionCase{
            "OpenYes", Id::MenuOpen, kIdYes, "copy.3do", {Kind::Save, Kind::Open}, "copy.3do"},
        SaveQuestionCase{
            "CloseYesCancelled", Id::MenuClose, kIdYes, nullptr, {Kind::Save}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Open with old.3do open, answering No to "Save?": only names ending in "3do" count, in any
// case, whatever the file holds; Open closes the old model before it reads the new one, so a
// file that fails to load leaves none.
struct OpenCase {
    const char* name;
    const char* fileName;
    std::string text;    // of the file
    const char* message; // the refusal or failure shown after "Save?", if any
    const char* caption;
    const char* openAfter; // the model open afterwards, if any
};

class DocumentOpen : public ShellFixture, public testing::WithParamInterface<OpenCase> {};

TEST_P(DocumentOpen, TakesOnlyModelFilesNamed3do) {
    const OpenCase& c = GetParam();
    reopen(c.fileName, c.text);

    std::vector expected{kSaveQuestion};
    if (c.message != nullptr)
        expected.push_back({Window::Main, c.message, c.caption, kMbOk});
    EXPECT_EQ(boxes(), expected);
    if (c.openAfter != nullptr) {
        expectModelOpen(c.openAfter);
    } else {
        expectNoModel();
        EXPECT_EQ(shell.state.currentPath, "");
    }
}

const char* const kRefusal = "Please select a .3do file.";
INSTANTIATE_TEST_SUITE_P(
    Files, DocumentOpen,
    testing::Values(
        OpenCase{"Upper", "KNIGHT.3DO", kTriangleModel, nullptr, nullptr, "KNIGHT.3DO"},
        OpenCase{"Txt", "knight.txt", kTriangleModel, kRefusal, "Skinweaver 1.1", "old.3do"},
        OpenCase{"NoDot", "knight3do", kTriangleModel, nullptr, nullptr, "knight3do"},
        OpenCase{"Short", "do", kTriangleModel, kRefusal, "Skinweaver 1.1", "old.3do"},
        OpenCase{"Unreadable", "bad.3do", "not a model", "Error loading file.", "File error",
                 nullptr},
        OpenCase{"Unpreparable", "bad.3do",
                 replaced(kTriangleModel, "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2",
                          "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 7, 2"),
                 "Error initializing model.\n\nFace 0 of mesh 0 (tri) names vertex 7, but the "
                 "mesh has 3 vertices.",
                 "Error", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

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

struct FailedWriteCase {
    const char* name;
    Id command;
    const char* target; // relative to the folder; made a folder when it ends in '/'
    const char* reason;
};

class DocumentFailedWrite : public ShellFixture,
                            public testing::WithParamInterface<FailedWriteCase> {};

TEST_P(DocumentFailedWrite, IsReportedWithThePathAndTheReason) {
    const FailedWriteCase& c = GetParam();
    openKnight();
    std::string target = c.target;
    if (target.ends_with('/')) {
        target.pop_back();
        std::filesystem::create_directories(dir.path() / target);
    }
    const std::string name = std::filesystem::path(target).filename().string();
    if (c.command == Id::MenuSave)
        shell.state.currentPath = pathOf(target);
    else
        fake.fileDialogs.choose(pathOf(target), name);
    const auto filesBefore = files();

    command(c.command);

    const Box report{Window::Main,
                     "The model was not saved to\n" + pathOf(target) + "\n\n" + c.reason,
                     "File error", kMbOk | kMbIconExclamation};
    EXPECT_EQ(boxes(), std::vector{report});
    EXPECT_EQ(files(), filesBefore); // no temporary file left behind either
    // Save as makes the chosen name the open file's even so.
    EXPECT_EQ(title(), "Skinweaver 1.1 - " + (c.command == Id::MenuSave ? "knight.3do" : name));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, DocumentFailedWrite,
    testing::Values(FailedWriteCase{"SaveOverAFolder", Id::MenuSave, "knight.3do.d/",
                                    "There is a folder of that name."},
                    FailedWriteCase{"SaveAsIntoAMissingFolder", Id::MenuSaveAs, "missing/copy.3do",
                                    "Its folder does not exist."},
                    FailedWriteCase{"SaveAsBelowAFile", Id::MenuSaveAs, "knight.3do/copy.3do",
                                    "The path before its name is a file, not a folder."}),
    [](const auto& info) { return std::string(info.param.name); });

// A file named when the program starts goes through Open's name test and its opening.
TEST_F(Document, CommandLineOpensAsOpenDoes) {
    writeModel("knight.txt");
    shell.openFromCommandLine(pathOf("knight.txt"));
    shell.openFromCommandLine(pathOf("missing.3do"));
    EXPECT_EQ(boxes(), (std::vector<Box>{
                           {Window::Main, "Please select a .3do file.", "Skinweaver 1.1", kMbOk},
                           {Window::Main, "Error loading file.", "File error", kMbOk}}));
    expectNoModel();

    writeModel("knight.3do");
    shell.openFromCommandLine(pathOf("knight.3do"));
    expectModelOpen("knight.3do");
    EXPECT_TRUE(fake.fileDialogs.shown().empty());
}

} // namespace
} // namespace sw::test
