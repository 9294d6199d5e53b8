// skinweaver: the texture-coordinate editor for Jedi Knight's 3DO models.

#include "platform/qt/EditorApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    sw::qt::QtWindowSystem::setDefaultSurfaceFormat();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skinweaver");
    sw::qt::EditorApp editor;
    // A start that fails has told the user why; the program still ends normally.
    if (!editor.start())
        return 0;
    return QApplication::exec();
}
