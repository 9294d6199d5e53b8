#include "app/Shell.h"

#include "app/ControlPanel.h"
#include "app/Document.h"
#include "app/EditHistory.h"
#include "app/Frame.h"
#include "app/InterfaceState.h"
#include "app/MainCommands.h"
#include "app/OptionsWindow.h"
#include "app/PaintingCommands.h"
#include "app/SourcesWindow.h"
#include "app/TextureReload.h"
#include "app/TextureViewCommands.h"
#include "app/ViewControls.h"
#include "app/ViewportInput.h"
#include "app/Windows.h"
#include "textures/Palette.h"
#include "textures/Preferences.h"
#include "textures/TextureSources.h"

#include <cmath>

namespace sw {

namespace {

bool isKeyCode(int virtualKey) {
    return virtualKey >= 0 && virtualKey < vk::kCount;
}

} // namespace

Shell::Shell(Platform& platform) : platform(platform) {}

bool Shell::start() {
    // The camera record starts at zero; a model's opening resets it before anything reads it.
    state.viewState = ViewState{};
    state.viewState.eye = {};
    state.viewState.center = {};
    state.viewState.up = {};
    state.currentModel.reset();
    state.currentEditor.reset();
    state.currentPath.clear();
    state.currentDirectory.clear();
    state.currentFileName.clear();
    // No window exists yet, so a palette that is no CMP file is reported without an owner.
    loadPreferences(state.preferences, state.palette, platform.settings, platform.messageBoxes);
    state.textureLoader.setSources(loadTextureSources(platform.settings));
    state.keepTextureProportions = loadKeepProportions(platform.settings);
    state.modelViewActive = false;
    state.textureViewActive = false;
    // Cleared after the first load on purpose: a later palette that fails to load then fills
    // the built-in colours once more instead of keeping the start-up ones.
    state.palette.paletteFilled = false;

    platform.windows.setEventSink(this);
    if (!createWindows(state, platform)) {
        platform.messageBoxes.messageBox(Window::None, "Window creation failed.", "Windows error",
                                         kMbIconExclamation);
        return false;
    }
    enterNoModelState(state, platform.windows);
    state.controlPanelVisible = true;
    platform.fileWatcher.setListener(
        [this](const std::string& path) { textureFileChanged(state, platform, path); });
    return true;
}

void Shell::openFromCommandLine(const std::string& path) {
    openNamedModel(state, platform, path);
    watchTextureFiles(state, platform);
}

void Shell::shutdown() {
    // Exiting never asks; what was not saved is kept for the next start.
    keepUnsavedChanges(state);
    state.modelViewActive = false;
    state.textureViewActive = false;
    state.currentModel.reset();
    state.currentEditor.reset();
    // The view does not hold the pointer between events, so there is no capture to release.
    WindowSystem& windows = platform.windows;
    for (const ControlDesc& control : controlPanelControls())
        windows.destroyControl(control.id);
    // The view first: it takes its rendering context with it.
    windows.destroyControl(ControlId::GlView);
    for (const ControlDesc& control : mainWindowControls()) {
        if (control.id != ControlId::GlView)
            windows.destroyControl(control.id);
    }
    platform.fileWatcher.watch({});
    windows.sendPrivate(Window::Controls, PrivateMessage::Destroy);
    windows.sendPrivate(Window::Options, PrivateMessage::Destroy);
    windows.postQuit(0);
}

// Every command arrives here: the menu (101 to 131), the main window's "M" and "R" (202,
// 203), the control panel (301 to 517), the Preferences window (600 to 607) and the Texture
// sources window (700 to 707).
void Shell::onCommand(ControlId id, Notification notification) {
    // A CTRL-drag ends with anything else the user does.
    closeGesture(state);
    switch (id) {
    case ControlId::MenuOpen:
        openCommand(state, platform);
        break;
    case ControlId::MenuRevert:
        revertCommand(state, platform);
        break;
    case ControlId::MenuClose:
        closeCommand(state, platform);
        break;
    case ControlId::MenuSave:
        saveCommand(state, platform);
        break;
    case ControlId::MenuSaveAs:
        saveAsCommand(state, platform);
        break;
    case ControlId::MenuPreferences:
        preferencesCommand(platform.windows);
        break;
    case ControlId::MenuToggleControlPanel:
        toggleControlPanel(state, platform.windows);
        break;
    case ControlId::MenuAbout:
        aboutCommand(platform);
        break;
    case ControlId::MenuRecalculateOffset:
        recalculateOffsetCommand(state, platform);
        break;
    case ControlId::MenuUndo:
        undoCommand(state, platform);
        break;
    case ControlId::MenuRedo:
        redoCommand(state, platform);
        break;
    case ControlId::MenuBoxRemap:
        boxRemapCommand(state, platform);
        break;
    case ControlId::MenuExportTemplate:
        exportTemplateCommand(state, platform);
        break;
    case ControlId::MenuImportPainting:
        importPaintingCommand(state, platform);
        break;
    case ControlId::MenuRotateLeft:
    case ControlId::MenuRotateRight:
        rotateCommand(state, platform, id == ControlId::MenuRotateLeft ? 1 : -1);
        break;
    case ControlId::MenuFlipHorizontally:
    case ControlId::MenuFlipVertically:
        flipCommand(state, platform, id == ControlId::MenuFlipHorizontally);
        break;
    case ControlId::MenuFitView:
        fitViewCommand(state);
        break;
    case ControlId::MenuKeepProportions:
        keepProportionsCommand(state, platform);
        break;
    case ControlId::MenuTextureSources:
        textureSourcesCommand(state, platform);
        break;
    case ControlId::SourcesList:
    case ControlId::AddSourceFolder:
    case ControlId::AddSourceArchive:
    case ControlId::RemoveSource:
    case ControlId::MoveSourceUp:
    case ControlId::MoveSourceDown:
    case ControlId::ReloadModel:
    case ControlId::CloseSources:
    case ControlId::MissingTextures:
    case ControlId::PlacesSearched:
        sourcesWindowCommand(state, platform, id);
        break;
    case ControlId::MouseModeButton:
        mouseModeButton(state, platform.windows);
        break;
    case ControlId::ResetViewButton:
        resetViewButton(state, platform.windows);
        break;
    default:
        if (toInt(id) >= toInt(ControlId::MeshList) && toInt(id) <= toInt(ControlId::BoxRemap))
            controlPanelCommand(state, platform, id, notification);
        else if (toInt(id) >= toInt(ControlId::MatFirst) && toInt(id) <= toInt(ControlId::Cancel))
            optionsCommand(state, platform, id);
        break;
    }
    // Any command may have opened or closed a model, or changed its textures or the palette.
    watchTextureFiles(state, platform);
    updateSelectionItems(state, platform.windows);
}

// The main window takes every key; only Backspace, Enter and the navigation keys do
// something.
void Shell::onKeyDown(Window window, int virtualKey) {
    if (window == Window::Options) {
        optionsKey(state, platform, virtualKey);
        watchTextureFiles(state, platform);
    }
    if (window != Window::Main || !isKeyCode(virtualKey))
        return;
    state.keyDown[static_cast<std::size_t>(virtualKey)] = true;
    switch (virtualKey) {
    case vk::kBack:
        backspaceKey(state, platform.windows);
        break;
    case vk::kReturn:
        toggleControlPanel(state, platform.windows);
        // The keyboard stays with the main window, so Enter keeps toggling.
        platform.windows.setFocus(Window::Main);
        break;
    default:
        navigationKey(state, platform.windows, virtualKey);
        break;
    }
    updateSelectionItems(state, platform.windows);
}

void Shell::onKeyUp(Window window, int virtualKey) {
    if (window == Window::Main && isKeyCode(virtualKey))
        state.keyDown[static_cast<std::size_t>(virtualKey)] = false;
    if (virtualKey == vk::kControl)
        closeGesture(state);
}

void Shell::onChar(Window window, char character) {
    if (window == Window::Main)
        navigationCharacter(state, platform.windows, character);
}

void Shell::onScroll(ControlId bar, ScrollRequest request, int position) {
    navigationScroll(state, platform.windows, bar, request, position);
}

void Shell::onSize(Window window, int width, int height) {
    if (window == Window::Main)
        layoutMainWindow(platform.windows, width, height);
    else if (window == Window::GlView)
        resizeView(state, platform.windows, width, height);
}

void Shell::onPointerMove(double x, double y, PointerState pointer) {
    if (state.modelViewActive && state.viewState.mouseRotate)
        turnViewByPointer(state, platform.windows, static_cast<int>(std::lround(x)),
                          static_cast<int>(std::lround(y)));
    else if (state.textureViewActive)
        texturePointerMove(state, platform, x, y, pointer);
}

// The buttons and the wheel only matter in the texture view.
void Shell::onPointerPress(double x, double y, PointerButton button) {
    if (state.textureViewActive)
        texturePointerPress(state, x, y, button);
}

void Shell::onPointerRelease(double, double, PointerButton button) {
    if (state.textureViewActive)
        texturePointerRelease(state, button);
    updateSelectionItems(state, platform.windows);
}

void Shell::onWheel(double x, double y, double steps) {
    if (state.textureViewActive)
        textureWheel(state, x, y, steps);
}

void Shell::onClose(Window window) {
    switch (window) {
    case Window::Main:
        shutdown();
        break;
    case Window::Controls:
        // The close box only hides the panel; the toggle command shows it again.
        platform.windows.setVisible(Window::Controls, false);
        state.controlPanelVisible = false;
        break;
    case Window::Options:
        platform.windows.setVisible(Window::Options, false);
        break;
    case Window::Sources:
        platform.windows.setVisible(Window::Sources, false);
        break;
    default:
        break;
    }
}

void Shell::onPrivateMessage(Window window, PrivateMessage message) {
    if (message == PrivateMessage::Destroy)
        platform.windows.destroyWindow(window);
    else if (message == PrivateMessage::Refresh && window == Window::Options)
        refreshOptionsWindow(state, platform.windows);
}

void Shell::onFrame() {
    state.pixelRatio = platform.windows.viewPixelRatio();
    renderFrame(state);
}

void Shell::onTimer(Timer timer) {
    if (timer == Timer::Recovery)
        keepChangesNow(state, platform.windows);
    else if (timer == Timer::TextureReload)
        reloadChangedTextures(state, platform);
}

} // namespace sw
