#pragma once

namespace sw {

class WindowSystem;
struct ShellState;

// The program guards its operations by greying the controls that do not apply, so the
// handlers behind them need not test the situation again. These switch between the four
// interface states and enable exactly the controls each one allows.

// No model: every control of the control panel, the view and its scroll bars and buttons
// greyed; the edit button reads "edit".
void enterNoModelState(ShellState& shell, WindowSystem& windows);
// A model is open: the mesh and texture lists, the view and its navigation. Only valid from
// the no-model state, since it enables without disabling anything.
void enterModelOpenState(ShellState& shell, WindowSystem& windows);
// A texture group is chosen (or no longer): the texture buttons and the remap groups.
void setTextureChosen(ShellState& shell, WindowSystem& windows, bool chosen);
// The texture view is shown (or the 3D view again): the lists and navigation lock, the edit
// tools unlock, and the edit button reads "return".
void setEditing(ShellState& shell, WindowSystem& windows, bool editing);
// The File items that need an open model; "&Open..." is always enabled.
void enableFileMenu(WindowSystem& windows, bool open);

} // namespace sw
