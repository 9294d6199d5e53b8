#pragma once

#include "platform/FileDialog.h"
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
};

} // namespace sw
