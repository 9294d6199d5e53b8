#pragma once

namespace sw {

struct Platform;
struct ShellState;
class WindowSystem;

// The main window's commands that neither open or save the model nor move the view.

// "&Preferences...": the Preferences window forgets unconfirmed edits, shows and takes the
// keyboard.
void preferencesCommand(WindowSystem& windows);
// "&Toggle control panel (enter)", and Enter in the main window (which then keeps the
// keyboard).
void toggleControlPanel(ShellState& shell, WindowSystem& windows);
// "&Re-calculate character offset": after asking, the insert offset puts the model's lowest
// point on the ground, which is where a character's feet belong. The new offset reaches the
// file with the next save.
void recalculateOffsetCommand(ShellState& shell, Platform& platform);
// "&About...".
void aboutCommand(Platform& platform);
// Backspace: in the 3D view the chosen texture is dropped; in the texture view the selected
// texture vertices are.
void backspaceKey(ShellState& shell, WindowSystem& windows);

} // namespace sw
