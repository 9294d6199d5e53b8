#pragma once

#include "platform/ControlIds.h"

namespace sw {

struct Platform;
struct ShellState;
class WindowSystem;

// The "Texture sources" window: the folders and GOB archives searched for textures that are
// neither beside the model nor in the game's layout around it, in the order the user gives
// them here. Every change is stored at once and applies to the next model opened; "reload"
// opens the model again (after Revert's question) to apply it now.

// "Te&xture sources...": builds the window the first time, fills it and shows it with the
// keyboard.
void textureSourcesCommand(ShellState& shell, Platform& platform);
// A command of the window's lists or buttons.
void sourcesWindowCommand(ShellState& shell, Platform& platform, ControlId id);
// The open model's textures that were not found, each with the places searched for it, once
// the window is built: after a model opens or closes and after its textures change.
void refreshMissingTextures(ShellState& shell, WindowSystem& windows);

} // namespace sw
