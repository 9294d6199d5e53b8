#include "platform/FileDialog.h"
#include "platform/MessageBoxF.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

// A path passed as an argument shows verbatim and whole, however long.
TEST(MessageBoxF, FormatsByPrintfAndShowsOneOkButton) {
    FakeMessageBox boxes;
    messageBoxF(boxes, Window::Main, "Caption", "%d of %s at %.2f", 3, "seven", 0.5);
    const std::string path = "C:\\100% done\\" + std::string(300, 'x') + ".cmp";
    messageBoxF(boxes, Window::None, "Invalid CMP File", "%s", path.c_str());
    EXPECT_EQ(boxes.shown(), (std::vector<FakeMessageBox::Shown>{
                                 {Window::Main, "3 of seven at 0.50", "Caption", kMbOk},
                                 {Window::None, path, "Invalid CMP File", kMbOk}}));
}

// Every dialog adds "3do" to a name typed without a suffix; a cancelled one leaves the path
// and name as they were.
TEST(FileDialogs, OpenNeedsAnExistingFileAndSaveAsksBeforeReplacing) {
    FakeFileDialogs dialogs;
    dialogs.choose("/models/knight.3do", "knight.3do");
    dialogs.cancel();
    const std::vector<FileFilter> filters{{"3DO model", "*.3do"}};
    std::string path = "start.3do";
    std::string name;
    EXPECT_TRUE(showOpenDialog(dialogs, Window::Main, path, name, filters));
    EXPECT_EQ(std::tuple(path, name), std::tuple("/models/knight.3do", "knight.3do"));
    EXPECT_FALSE(showSaveDialog(dialogs, Window::Controls, path, name, filters));
    EXPECT_EQ(path, "/models/knight.3do");

    ASSERT_EQ(dialogs.shown().size(), 2u);
    const FileDialogRequest& open = dialogs.shown()[0].request;
    const FileDialogRequest& save = dialogs.shown()[1].request;
    EXPECT_EQ(dialogs.shown()[0].initialPath, "start.3do");
    EXPECT_EQ(
        std::tuple(open.kind, open.owner, open.fileMustExist, open.pathMustExist,
                   open.overwritePrompt, open.defaultSuffix, open.filters.size()),
        std::tuple(FileDialogRequest::Kind::Open, Window::Main, true, true, false, "3do", 1u));
    EXPECT_EQ(
        std::tuple(save.kind, save.owner, save.fileMustExist, save.pathMustExist,
                   save.overwritePrompt, save.defaultSuffix, save.filters.size()),
        std::tuple(FileDialogRequest::Kind::Save, Window::Controls, false, true, true, "3do", 1u));
}

} // namespace
} // namespace sw::test
