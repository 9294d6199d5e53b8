#pragma once

#include "editor/ViewMapping.h"
#include "platform/WindowEvents.h"

namespace sw {

struct Platform;
struct ShellState;

// The pointer over the view while it shows the texture view: a click flips the vertices under
// it, a drag flips those inside the rectangle it spans, moving with CTRL held (as the pointer
// event tells it) moves the selected vertices, the middle button drags the view along and the
// wheel zooms it about the pointer. The view does not hold on to the pointer: a release
// outside it is not seen, and the drag goes on when the pointer comes back.
void texturePointerMove(ShellState& shell, Platform& platform, double x, double y,
                        PointerState state);
void texturePointerPress(ShellState& shell, double x, double y, PointerButton button);
void texturePointerRelease(ShellState& shell, PointerButton button);
void textureWheel(ShellState& shell, double x, double y, double steps);

// The area the texture view fills, as the shell knows it.
ViewArea textureViewArea(const ShellState& shell);

// The texture coordinates under a pixel of the view (y counted downwards) as the texture view
// shows them now.
TexturePoint textureCoordinatesAt(const ShellState& shell, double x, double y);

} // namespace sw
