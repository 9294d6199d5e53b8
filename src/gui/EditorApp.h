#pragma once

#include "app/Shell.h"
#include "platform/Platform.h"
#include "platform/qt/QtFileWatcher.h"
#include "platform/qt/QtImageFiles.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtWindowSystem.h"

#include <string>

namespace sw::gui {

// The one place where the shell meets the Qt backend: the window system, the settings, and the
// shell handling their events.
// Made after the QApplication; start() builds the windows, after which the application's
// event loop runs the program until the main window is closed.
class EditorApp {
public:
    EditorApp();
    ~EditorApp();
    EditorApp(const EditorApp&) = delete;
    EditorApp& operator=(const EditorApp&) = delete;

    // `modelPath`, when not empty, is opened once the windows are up, as the command line asks.
    bool start(const std::string& modelPath = {});

    qt::QtWindowSystem& windows() { return windows_; }
    Shell& shell() { return shell_; }

private:
    qt::QtWindowSystem windows_;
    QtSettingsStore settings_;
    QtImageFiles images_;
    qt::QtFileWatcher fileWatcher_;
    Platform platform_;
    Shell shell_;
};

} // namespace sw::gui
