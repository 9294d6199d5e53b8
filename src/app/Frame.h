#pragma once

namespace sw {

class WindowSystem;
struct ShellState;

// One frame of the OpenGL view: clear, then the 3D model view while it is active, the texture
// view while that is active, nothing otherwise. The window system presents it. Runs with the
// view's context current.
void renderFrame(const ShellState& shell);

// The view goes black at once (after a model is closed): with no view active, the next frame
// is the cleared one.
void clearView(WindowSystem& windows);

// The OpenGL view's client area changed size (in logical pixels): remember it, with the
// device pixels per logical pixel, and set up the projection for it.
void resizeView(ShellState& shell, WindowSystem& windows, int width, int height);

// Viewport (in device pixels) and projection of the active view for the view's size.
void setupViewProjection(const ShellState& shell);

} // namespace sw
