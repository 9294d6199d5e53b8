#pragma once

#include <functional>

namespace sw {

struct Platform;
struct ShellState;
class WindowSystem;

// Every change of the open model goes through here, so that it can be undone and redone and
// the title shows that the model holds unsaved changes.

// A change of the chosen group's texture vertices (a remap, a move, a scale): the group is
// recorded, `change` runs, and an undo step is kept when it changed anything. `change` returns
// false when it failed and left the group as it was. A gesture's changes (the moves of one
// CTRL-drag) make one step: the step of its first change stays open until closeGesture().
bool changeChosenGroup(ShellState& shell, Platform& platform, const std::function<bool()>& change,
                       bool gesture = false);
// A change of the material list and the groups' textures ("change ...").
void changeMaterials(ShellState& shell, Platform& platform, const std::function<void()>& change);
// A change of the insert offset.
void changeOffset(ShellState& shell, Platform& platform, const std::function<void()>& change);
void closeGesture(ShellState& shell);

// "&Undo" and "&Redo" of the Edit menu. The views, the texture list and the chosen group's
// editor follow what the step restored.
void undoCommand(ShellState& shell, Platform& platform);
void redoCommand(ShellState& shell, Platform& platform);

// After the model changed, was saved, or another one opened: the title's mark of unsaved
// changes and the Undo and Redo items.
void documentChanged(ShellState& shell, WindowSystem& windows);

} // namespace sw
