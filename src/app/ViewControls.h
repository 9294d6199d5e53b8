#pragma once

#include "platform/ControlIds.h"

namespace sw {

class WindowSystem;
struct ShellState;
struct ViewState;

// The main window's navigation of the 3D view: its keys, characters, scroll bars and the "M"
// and "R" buttons, and the mouse mode's turning. Each changes the camera through the
// navigation operations and then shows the result on the scroll bars and the "M" button.

// The five bars at the view's values (pitch, yaw, zoom, pan X, pan Y, in this order) and the
// mouse-mode button's caption.
void showViewControls(const ViewState& view, WindowSystem& windows);
// The camera fitted to the open model, shown on the controls.
void resetViewControls(ShellState& shell, WindowSystem& windows);

// A navigation key of the main window (arrows and the numeric pad's "*", "+", "-"), with
// SHIFT and CTRL as keyDown has them. Only while the model view shows a model.
void navigationKey(ShellState& shell, WindowSystem& windows, int virtualKey);
// "M" or "R" in either case typed in the main window, with the same condition.
void navigationCharacter(ShellState& shell, WindowSystem& windows, char character);
// The "M" and "R" buttons: the keyboard goes back to the main window first.
void mouseModeButton(ShellState& shell, WindowSystem& windows);
void resetViewButton(ShellState& shell, WindowSystem& windows);
// A request of one of the five bars. While the model view is shown a frame follows at once,
// so that the model turns with a dragged thumb.
void navigationScroll(ShellState& shell, WindowSystem& windows, ControlId bar,
                      ScrollRequest request, int position);
// A pointer move over the view while the mouse mode is on: one degree per move.
void turnViewByPointer(ShellState& shell, WindowSystem& windows, int x, int y);

} // namespace sw
