#pragma once

namespace sw {

struct Platform;
struct ShellState;
class SettingsStore;
class WindowSystem;

// The Edit menu's commands of the texture view and the Options item of its proportions.

// "&Fit view" (Home): the view fits the vertices again and follows them from now on.
void fitViewCommand(ShellState& shell);
// "&Keep texture proportions": shows the texture's texels square, or stretches the fitted
// square over the view as the classic program did; kept in the settings.
void keepProportionsCommand(ShellState& shell, Platform& platform);
// Rotate the selection a quarter turn left (counter-clockwise) or right, flip it
// horizontally or vertically: one undo step each.
void rotateCommand(ShellState& shell, Platform& platform, int quarterTurns);
void flipCommand(ShellState& shell, Platform& platform, bool horizontally);

// Rotate and flip are enabled while the texture view is shown and vertices of its group are
// selected; called after every event that can change either.
void updateSelectionItems(const ShellState& shell, WindowSystem& windows);

// The proportions setting as stored; on when it was never stored.
bool loadKeepProportions(SettingsStore& settings);

} // namespace sw
