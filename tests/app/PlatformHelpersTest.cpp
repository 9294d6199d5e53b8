#include "platform/FileDialog.h"
#include "platform/MessageBoxF.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw::test {
namespace {

TEST(MessageBoxF, FormatsByPrintfAndShowsOneOkButton) {
    FakeMessageBox boxes;
    messageBoxF(boxes, Window::Main, "Caption", "%d of %s at %.2f", 3, "seven", 0.5);
    const std::string path = "C:\\100% done\\" + std::string(300, 'x') + ".cmp";
    messageBoxF(boxes, Window::None, "Invalid CMP File", "%s", path.c_str());

    // A path passed as an argument shows verbatim and whole, however long.
    EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                 {Window::Main, "3 of seven at 0.50", "Caption", kMbOk},
                                 {Window::None, path, "Invalid CMP File", kMbOk}}));
}

TEST(FileDialogs, OpenNeedsAnExistingFileAndSaveAsksBeforeReplacing) {
    FakeFileDialogs dialogs;
    dialogs.choose("/models/knight.3do", "knight.3do");
    dialogs.cancel();
    const std::vector<FileFilter> filters{{"3DO model", "*.3do"}};

    std::string path = "start.3do";
    std::string name;
    EXPECT_TRUE(showOpenDialog(dialogs, Window::Main, path, name, filters));
    EXPECT_EQ(path, "/models/knight.3do");
    EXPECT_EQ(name, "knight.3do");
    EXPECT_FALSE(showSaveDialog(dialogs, Window::Controls, path, name, filters));
    EXPECT_EQ(path, "/models/knight.3do"); // a cancelled dialog leaves both as they were

    ASSERT_EQ(dialogs.shown().size(), 2u);
    const FileDialogRequest& open = dialogs.shown()[0].request;
    EXPECT_EQ(open.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(dialogs.shown()[0].initialPath, "start.3do");
    EXPECT_TRUE(open.fileMustExist && open.pathMustExist && !open.overwritePrompt);
    const FileDialogRequest& save = dialogs.shown()[1].request;
    EXPECT_EQ(save.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(save.owner, Window::Controls);
    EXPECT_TRUE(!save.fileMustExist && save.pathMustExist && save.overwritePrompt);
    // Every dialog of the program adds "3do" to a name typed without a suffix.
    EXPECT_EQ(open.defaultSuffix, "3do");
    EXPECT_EQ(save.defaultSuffix, "3do");
    EXPECT_EQ(save.filters.size(), 1u);
}

} // namespace
} // namespace sw::test
