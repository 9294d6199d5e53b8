#pragma once

namespace sw {

struct Platform;
struct ShellState;

// The left button and the pointer over the view while it shows the texture view: a click
// flips the vertices under it, a drag flips those inside the rectangle it spans, and moving
// with CTRL held moves the selected vertices. The view does not hold on to the pointer: a
// release outside it is not seen, and the drag goes on when the pointer comes back.
void texturePointerMove(ShellState& shell, Platform& platform, int x, int y);
void texturePointerPress(ShellState& shell);
void texturePointerRelease(ShellState& shell);

// The texture coordinates under a pixel of the view (y counted downwards): the inverse of the
// texture view's projection, which stretches its square over the whole view.
struct TexturePoint {
    double u = 0;
    double v = 0;
};
TexturePoint textureCoordinatesAt(const ShellState& shell, int x, int y);

} // namespace sw
