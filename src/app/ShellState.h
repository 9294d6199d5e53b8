#pragma once

#include "app/RecoveryFile.h"
#include "editor/UndoHistory.h"
#include "editor/UvEditor.h"
#include "model/Model.h"
#include "platform/ControlIds.h"
#include "render/ViewState.h"
#include "textures/Palette.h"
#include "textures/Preferences.h"
#include "textures/TextureLoader.h"

#include <array>
#include <memory>
#include <set>
#include <string>

namespace sw {

// Which controls are enabled (see InterfaceState.h); the control panel decides its
// transitions by it.
enum class InterfaceState : int { NoModel = 1, ModelOpen = 2, TextureChosen = 3, Editing = 4 };

// The OpenGL view's client rectangle; right and bottom are its width and height.
struct ViewportRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The state of the running program. There is one per run (and a fresh one per test); every
// handler reaches it through the Shell.
struct ShellState {
    std::unique_ptr<Model> currentModel;     // the open model, null while none is open
    std::unique_ptr<UvEditor> currentEditor; // the chosen texture group's editor, or null
    UndoHistory history;                     // the open model's changes
    RecoveryFile recovery;                   // where its unsaved changes are kept
    bool recoveryPending = false;            // a change waits for the recovery timer
    bool modelViewActive = false;            // the 3D view is shown
    bool textureViewActive = false;          // the texture view is shown instead
    InterfaceState interfaceState = InterfaceState::NoModel;
    std::array<bool, vk::kCount> keyDown{}; // keys held over the main window
    bool controlPanelVisible = true;
    std::string currentPath;      // the open file, empty while none is open
    std::string currentDirectory; // its folder with the final separator
    std::string currentFileName;  // its name, shown in the title
    ViewState viewState;          // the 3D camera
    Preferences preferences;      // texture loading and the palette file
    Palette palette;
    // Finds and uploads the open model's textures, in its folder, with the preferences and the
    // palette as they are at each load.
    TextureLoader textureLoader{palette, preferences};
    bool sourcesWindowBuilt = false;    // the Texture sources window, built when first shown
    ViewportRect viewportRect;          // in logical pixels, as pointer positions count them
    double pixelRatio = 1;              // device pixels per logical pixel of the view
    bool keepTextureProportions = true; // the texture view shows texels square
    // The pointer position at the latest move that turned the 3D view (mouse mode).
    int lastMouseX = 0;
    int lastMouseY = 0;

    // The pointer in the texture view: the left button went down there and has not come up
    // there yet; a rectangle was started since.
    bool buttonDown = false;
    bool dragStarted = false;
    // Where the latest move left the pointer, in the view's pixels, and whether the middle
    // button drags the texture view along.
    double pointerX = 0, pointerY = 0;
    bool panning = false;

    // The palette file dialog of the Preferences window opens on the file chosen last.
    std::string browsePath;
    std::string browseFileName;

    // Texture and palette files that changed on disk and are still to be read again, and how
    // often they have been tried since (a file still being written does not read yet).
    std::set<std::string> changedFiles;
    int reloadAttempts = 0;
};

} // namespace sw
