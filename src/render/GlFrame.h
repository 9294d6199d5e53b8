#pragma once

namespace sw {

struct ViewState;

// The fixed GL state of the view, set once right after its context is made current.
void initGlState();

// Viewport and projection for a view of width x height pixels. Only the model view has a
// projection of its own (an orthographic volume 2500 units across the longer side); otherwise
// the projection stays the identity and the texture view sets its own when it draws.
void setupProjection(int width, int height, bool modelViewActive);

// Start of every frame: clear colour and depth and load the identity into the model-view
// matrix. Presenting the frame is the window system's part.
void beginFrame();

// Points the camera as the view state says (gluLookAt).
void applyCamera(const ViewState& view);

} // namespace sw
