#pragma once

#include "platform/ControlIds.h"

namespace sw {

struct Platform;
struct ShellState;
class WindowSystem;

// The Preferences window: its controls follow the preferences at each refresh and change
// nothing until "ok" stores them, reloads the palette and the open model's palette-coloured
// textures.
void refreshOptionsWindow(const ShellState& shell, WindowSystem& windows);
void optionsCommand(ShellState& shell, Platform& platform, ControlId id);
// Enter acts as "ok" and Escape as "cancel" while the window itself has the keyboard.
void optionsKey(ShellState& shell, Platform& platform, int virtualKey);

} // namespace sw
