// skinweaver: the texture-coordinate editor for Jedi Knight's 3DO models.

#include "gui/EditorApp.h"

#include <QApplication>
#include <QFile>

#include <string>

int main(int argc, char** argv) {
    sw::qt::QtWindowSystem::setDefaultSurfaceFormat();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skinweaver");
    // `skinweaver FILE.3do` opens the file at once, so that a file manager can open models
    // with the editor. Qt has already taken its own options out of the arguments.
    const QStringList arguments = QApplication::arguments();
    const std::string modelPath =
        arguments.size() > 1 ? QFile::encodeName(arguments.at(1)).toStdString() : std::string();
    sw::gui::EditorApp editor;
    // A start that fails has told the user why; the program still ends normally.
    if (!editor.start(modelPath))
        return 0;
    return QApplication::exec();
}
