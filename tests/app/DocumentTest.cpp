#include "app/DocumentFixture.h"
#include "app/InterfaceState.h"
#include "model/Model.h"
#include "support/TextureFiles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace sw::test {
namespace {

using Id = ControlId;
using Document = DocumentFixture;

const std::vector<std::string> kTriMeshes{"tri"};
const std::vector<std::string> kTriTextures{"floor"}; // the one face uses material 1

TEST_F(Document, OpenFindsTheTexturesInTheModelsFolderAndCloseDeletesThem) {
    writeModel("knight.3do");
    dir.write("mat/floor.MAT", matTexture(1, 1, 16, std::string("\xff\xff", 2)));

    open("knight.3do");

    // No model was open, so nothing was asked before the dialog.
    EXPECT_TRUE(fake.messageBoxes.shown().empty());
    ASSERT_EQ(fake.fileDialogs.shown().size(), 1u);
    const FakeFileDialogs::Shown& dialog = fake.fileDialogs.shown()[0];
    EXPECT_EQ(dialog.request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(dialog.request.owner, Window::Main);
    ASSERT_EQ(dialog.request.filters.size(), 1u);
    EXPECT_EQ(dialog.request.filters[0].description, "3DO model");
    EXPECT_EQ(dialog.request.filters[0].pattern, "*.3do");
    EXPECT_EQ(dialog.initialPath, "");
    expectModelOpen("knight.3do", kTriMeshes, kTriTextures);
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

    expectNoModel();
    for (GLuint texture : textures)
        EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(Document, OpenWithAModelAnsweringNoThenCancellingKeepsTheModelUnsaved) {
    writeModel("knight.3do");
    open("knight.3do");
    const Model* before = shell.state.currentModel.get();
    const auto filesBefore = files();

    fake.messageBoxes.answer(kIdNo);
    fake.fileDialogs.cancel();
    command(Id::MenuOpen);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 1u);
    const auto& question = fake.messageBoxes.shown()[0];
    EXPECT_EQ(question.text, "Save?");
    EXPECT_EQ(question.caption, "Skinweaver 1.1");
    EXPECT_EQ(question.style, kMbYesNo);
    // Only the open dialog: No skips the save dialog.
    ASSERT_EQ(fake.fileDialogs.shown().size(), 2u);
    EXPECT_EQ(fake.fileDialogs.shown()[1].request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(shell.state.currentModel.get(), before);
    expectModelOpen("knight.3do", kTriMeshes, kTriTextures);
    EXPECT_EQ(files(), filesBefore);
}

TEST_F(Document, OpenAnsweringYesSavesUnderTheNewNameThenCancellingKeepsTheModelUnderIt) {
    writeModel("knight.3do");
    open("knight.3do");
    const auto filesBefore = files();

    fake.messageBoxes.answer(kIdYes);
    fake.fileDialogs.choose(pathOf("copy.3do"), "copy.3do");
    fake.fileDialogs.cancel();
    command(Id::MenuOpen);

    // The save dialog starts from the open file and asks before replacing one.
    ASSERT_EQ(fake.fileDialogs.shown().size(), 3u);
    const FakeFileDialogs::Shown& save = fake.fileDialogs.shown()[1];
    EXPECT_EQ(save.request.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(save.initialPath, pathOf("knight.3do"));
    EXPECT_TRUE(save.request.overwritePrompt);
    EXPECT_EQ(save.request.defaultSuffix, "3do");

    expectModelOpen("copy.3do", kTriMeshes, kTriTextures);
    EXPECT_EQ(shell.state.currentPath, pathOf("copy.3do"));
    auto filesAfter = files();
    ASSERT_EQ(filesAfter.count("copy.3do"), 1u);
    EXPECT_EQ(filesAfter["copy.3do"], shell.state.currentModel->outputText());
    filesAfter.erase("copy.3do");
    EXPECT_EQ(filesAfter, filesBefore);
}

TEST_F(Document, CloseAnsweringYesAndCancellingTheSaveDialogClosesWithoutSaving) {
    writeModel("knight.3do");
    open("knight.3do");
    shell.state.currentModel->insertOffset = {1, 2, 3}; // an edit that is never saved
    const auto filesBefore = files();

    fake.messageBoxes.answer(kIdYes);
    fake.fileDialogs.cancel();
    command(Id::MenuClose);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown()[0].text, "Save?");
    EXPECT_EQ(fake.fileDialogs.shown().back().request.kind, FileDialogRequest::Kind::Save);
    expectNoModel();
    EXPECT_EQ(files(), filesBefore);
}

struct NameCase {
    const char* fileName;
    bool accepted;
};

class DocumentNames : public DocumentFixture, public testing::WithParamInterface<NameCase> {};

// Only the last three characters count, in any case; the file's content is a model either way.
TEST_P(DocumentNames, OpenTakesOnlyNamesEndingIn3do) {
    writeModel("old.3do");
    open("old.3do");
    writeModel(GetParam().fileName);

    fake.messageBoxes.answer(kIdNo);
    fake.fileDialogs.choose(pathOf(GetParam().fileName), GetParam().fileName);
    command(Id::MenuOpen);

    if (GetParam().accepted) {
        ASSERT_EQ(fake.messageBoxes.shown().size(), 1u); // "Save?" only
        expectModelOpen(GetParam().fileName, kTriMeshes, kTriTextures);
    } else {
        ASSERT_EQ(fake.messageBoxes.shown().size(), 2u);
        const auto& refusal = fake.messageBoxes.shown()[1];
        EXPECT_EQ(refusal.text, "Please select a .3do file.");
        EXPECT_EQ(refusal.caption, "Skinweaver 1.1");
        EXPECT_EQ(refusal.style, kMbOk);
        expectModelOpen("old.3do", kTriMeshes, kTriTextures);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, DocumentNames,
                         testing::Values(NameCase{"KNIGHT.3DO", true},
                                         NameCase{"knight.txt", false}, NameCase{"knight3do", true},
                                         NameCase{"do", false}),
                         [](const auto& info) {
                             std::string name = info.param.fileName;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(Document, RevertReadsTheFileAgainAndDropsEveryEditAndTheChosenTexture) {
    const std::string path = writeModel("knight.3do");
    open("knight.3do");
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

    ASSERT_EQ(fake.messageBoxes.shown().size(), 2u);
    for (const auto& question : fake.messageBoxes.shown()) {
        EXPECT_EQ(question.text, "This will revert to the saved file.\n\nAre you sure?");
        EXPECT_EQ(question.caption, "Skinweaver 1.1");
        EXPECT_EQ(question.style, kMbYesNo);
    }
    EXPECT_TRUE(fake.fileDialogs.shown().size() == 1u); // Revert never offers to save
    expectModelOpen("knight.3do", {"triangle"}, kTriTextures);
    const Model& reverted = *shell.state.currentModel;
    EXPECT_EQ(reverted.meshes[0].glTxverts[0].u, 0.0);
    EXPECT_EQ(reverted.insertOffset.z, -0.1);
    EXPECT_EQ(shell.state.currentPath, path);
}

struct FailedOpenCase {
    const char* name;
    std::string text; // the model file
    const char* message;
    const char* caption;
};

// Why the model refuses to be prepared, as it says itself.
std::string preparationError(const std::string& path) {
    Model model;
    FakeMessageBox boxes;
    if (!model.load(path) || model.prepare([](Material&, const std::string&) {}, boxes))
        return {};
    return model.preparationError();
}

class DocumentFailedOpen : public DocumentFixture,
                           public testing::WithParamInterface<FailedOpenCase> {};

// Open closes the old model before it reads the new one, so a file that fails leaves none.
TEST_P(DocumentFailedOpen, LeavesNoModelAndThePlainTitle) {
    writeModel("old.3do");
    open("old.3do");
    writeModel("bad.3do", GetParam().text);

    fake.messageBoxes.answer(kIdNo);
    fake.fileDialogs.choose(pathOf("bad.3do"), "bad.3do");
    command(Id::MenuOpen);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 2u);
    const auto& failure = fake.messageBoxes.shown()[1];
    // The model's own explanation follows the message, where it has one.
    const std::string why = preparationError(pathOf("bad.3do"));
    EXPECT_EQ(why.empty(), std::string(GetParam().caption) == "File error");
    EXPECT_EQ(failure.text, GetParam().message + (why.empty() ? "" : "\n\n" + why));
    EXPECT_EQ(failure.caption, GetParam().caption);
    EXPECT_EQ(failure.style, kMbOk);
    EXPECT_EQ(failure.owner, Window::Main);
    expectNoModel();
    EXPECT_EQ(shell.state.currentPath, "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, DocumentFailedOpen,
    testing::Values(FailedOpenCase{"Unreadable", "not a model", "Error loading file.",
                                   "File error"},
                    FailedOpenCase{"Unpreparable",
                                   replaced(kTriangleModel, "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2",
                                            "0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 7, 2"),
                                   "Error initializing model.", "Error"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailedWriteCase {
    const char* name;
    Id command;
    const char* target; // relative to the folder; made a folder when it ends in '/'
    const char* reason;
};

class DocumentFailedWrite : public DocumentFixture,
                            public testing::WithParamInterface<FailedWriteCase> {};

TEST_P(DocumentFailedWrite, IsReportedWithThePathAndTheReason) {
    const FailedWriteCase& c = GetParam();
    writeModel("knight.3do");
    open("knight.3do");
    std::string target = c.target;
    if (target.ends_with('/')) {
        target.pop_back();
        std::filesystem::create_directories(dir.path() / target);
    }
    if (c.command == Id::MenuSave)
        shell.state.currentPath = pathOf(target);
    else
        fake.fileDialogs.choose(pathOf(target), std::filesystem::path(target).filename().string());
    const auto filesBefore = files();

    command(c.command);

    ASSERT_EQ(fake.messageBoxes.shown().size(), 1u);
    const auto& report = fake.messageBoxes.shown()[0];
    EXPECT_EQ(report.text,
              "The model was not saved to\n" + pathOf(target) + "\n\n" + std::string(c.reason));
    EXPECT_EQ(report.caption, "File error");
    EXPECT_EQ(report.style, kMbOk | kMbIconExclamation);
    EXPECT_EQ(files(), filesBefore); // no temporary file left behind either
    // Save as makes the chosen name the open file's even so.
    const std::string shownName = c.command == Id::MenuSave
                                      ? "knight.3do"
                                      : std::filesystem::path(target).filename().string();
    EXPECT_EQ(title(), "Skinweaver 1.1 - " + shownName);
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

TEST_F(Document, SaveWritesTheOpenFileInPlace) {
    const std::string path = writeModel("knight.3do");
    open("knight.3do");
    shell.state.currentModel->insertOffset = {0, 0, 2};

    command(Id::MenuSave);

    EXPECT_TRUE(fake.messageBoxes.shown().empty());
    EXPECT_EQ(readFile(path), shell.state.currentModel->outputText());
    EXPECT_NE(readFile(path).find("INSERT OFFSET 0 0 2\r\n"), std::string::npos);
    EXPECT_EQ(title(), "Skinweaver 1.1 - knight.3do");
}

// A file named when the program starts goes through Open's name test and its opening.
TEST_F(Document, CommandLineOpensAsOpenDoes) {
    writeModel("knight.txt");
    shell.openFromCommandLine(pathOf("knight.txt"));
    shell.openFromCommandLine(pathOf("missing.3do"));
    ASSERT_EQ(fake.messageBoxes.shown().size(), 2u);
    EXPECT_EQ(fake.messageBoxes.shown()[0].text, "Please select a .3do file.");
    EXPECT_EQ(fake.messageBoxes.shown()[1].text, "Error loading file.");
    expectNoModel();

    writeModel("knight.3do");
    shell.openFromCommandLine(pathOf("knight.3do"));
    expectModelOpen("knight.3do", kTriMeshes, kTriTextures);
    EXPECT_TRUE(fake.fileDialogs.shown().empty());
}

} // namespace
} // namespace sw::test
