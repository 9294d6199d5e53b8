#pragma once

#include "platform/WindowSystem.h"

#include <span>

namespace sw {

struct Platform;
struct ShellState;

inline constexpr const char* kProgramTitle = "Skinweaver 1.1";

// Builds every window, control, the menu, the font and the OpenGL context, shows the control
// panel and the main window, and sets up the view's projection. Returns false at the first
// step that fails, having told the user of a failed class registration; nothing is undone.
bool createWindows(ShellState& shell, Platform& platform);

// Places the main window's children for a client area of width x height. A very small
// window gives zero or negative sizes, which are passed on as they are.
void layoutMainWindow(WindowSystem& windows, int width, int height);

// The children of the control panel and of the main window, in the order they are created.
std::span<const ControlDesc> controlPanelControls();
std::span<const ControlDesc> mainWindowControls();

} // namespace sw
