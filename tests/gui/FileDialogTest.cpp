#include "gui/EditorApp.h"
#include "support/Desktop.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace sw::test {
namespace {

// The names the open dialog lists in its folder once it has read it, after the filter the
// dialog was given (which a desktop's own dialog receives as it is); the dialog is then
// cancelled.
QStringList listed(qt::QtWindowSystem& windows, const QString& folder, const FileFilter& filter,
                   int expected) {
    QStringList names;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        names << dialog->nameFilters();
        auto* view = dialog->findChild<QListView*>("listView");
        waitFor(
            [&] {
                return view != nullptr && view->model()->rowCount(view->rootIndex()) >= expected;
            },
            5000);
        for (int row = 0; view != nullptr && row < view->model()->rowCount(view->rootIndex());
             ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        dialog->reject();
    });
    std::string path = QFile::encodeName(folder + "/none").toStdString();
    std::string name;
    FileDialogRequest request;
    request.owner = Window::Main;
    request.filters = {filter};
    windows.showFileDialog(request, path, name);
    names.sort();
    return names;
}

TEST(FileDialog, ListsFilesWhateverTheCaseOfTheirExtension) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* file : {"knight.3do", "KNIGHT2.3DO", "wall.mat", "WALL2.MAT", "sky.BMP"}) {
        QFile created(folder.filePath(file));
        ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    }
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    EXPECT_EQ(listed(editor.windows(), folder.path(), {"3DO model", "*.3do"}, 2),
              (QStringList{"3DO model (*.3do *.3DO)", "KNIGHT2.3DO", "knight.3do"}));
    EXPECT_EQ(
        listed(editor.windows(), folder.path(), {"MAT and BMP", "*.mat;*.bmp"}, 3),
        (QStringList{"MAT and BMP (*.mat *.MAT *.bmp *.BMP)", "WALL2.MAT", "sky.BMP", "wall.mat"}));
}

} // namespace
} // namespace sw::test
