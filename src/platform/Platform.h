#pragma once

#include "platform/FileDialog.h"
#include "platform/FileWatcher.h"
#include "platform/ImageFiles.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "platform/WindowSystem.h"

namespace sw {

// Everything the program asks of the window system, in one place for the handlers.
struct Platform {
    WindowSystem& windows;
    MessageBoxService& messageBoxes;
    FileDialogService& fileDialogs;
    SettingsStore& settings;
    ImageFiles& images;
    FileWatcher& fileWatcher;
};

} // namespace sw
