#include "app/OptionsWindow.h"

#include "app/ShellState.h"
#include "platform/Platform.h"

namespace sw {

namespace {

using Id = ControlId;

// The palette path is kept in a buffer of 260 characters.
constexpr std::size_t kMaxPaletteText = 259;

void hide(WindowSystem& windows) {
    windows.setVisible(Window::Options, false);
}

void apply(ShellState& shell, Platform& platform) {
    WindowSystem& windows = platform.windows;
    Preferences& preferences = shell.preferences;
    preferences.primaryFormat =
        windows.isChecked(Id::BmpFirst) ? TextureFormat::Bmp : TextureFormat::Mat;
    preferences.loadMatIfBmpFails = windows.isChecked(Id::MatFallback);
    preferences.loadBmpIfMatFails = windows.isChecked(Id::BmpFallback);
    preferences.cmpFile = windows.text(Id::PaletteFile).substr(0, kMaxPaletteText);
    savePreferences(preferences, platform.settings);
    // A palette that is no CMP file is reported over the main window: this one goes.
    loadPalette(shell.palette, preferences, platform.messageBoxes, Window::Main);
    if (shell.currentModel)
        shell.textureLoader.reloadPaletteTextures(*shell.currentModel);
    hide(windows);
}

} // namespace

void refreshOptionsWindow(const ShellState& shell, WindowSystem& windows) {
    const Preferences& preferences = shell.preferences;
    const bool bmpFirst = preferences.primaryFormat == TextureFormat::Bmp;
    windows.setChecked(Id::MatFirst, !bmpFirst);
    windows.setChecked(Id::BmpFirst, bmpFirst);
    windows.setChecked(Id::MatFallback, preferences.loadMatIfBmpFails);
    windows.setChecked(Id::BmpFallback, preferences.loadBmpIfMatFails);
    windows.setText(Id::PaletteFile, preferences.cmpFile);
}

void optionsCommand(ShellState& shell, Platform& platform, ControlId id) {
    WindowSystem& windows = platform.windows;
    switch (id) {
    case Id::MatFirst:
    case Id::BmpFirst:
        windows.setChecked(Id::MatFirst, id == Id::MatFirst);
        windows.setChecked(Id::BmpFirst, id == Id::BmpFirst);
        break;
    case Id::Browse:
        // The dialog's buffers are the command's own: it opens on the file chosen last.
        if (showOpenDialog(platform.fileDialogs, Window::Options, shell.browsePath,
                           shell.browseFileName, {{"CMP palette", "*.cmp"}}))
            windows.setText(Id::PaletteFile, shell.browsePath);
        break;
    case Id::DefaultPalette:
        windows.setText(Id::PaletteFile, std::string(kDefaultPaletteLabel));
        break;
    case Id::Ok:
        apply(shell, platform);
        break;
    case Id::Cancel:
        hide(windows);
        break;
    default:
        break; // the check boxes check themselves
    }
}

void optionsKey(ShellState& shell, Platform& platform, int virtualKey) {
    if (virtualKey == vk::kReturn)
        apply(shell, platform);
    else if (virtualKey == vk::kEscape)
        hide(platform.windows);
}

} // namespace sw
