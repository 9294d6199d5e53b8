#pragma once

namespace sw {

class Model;
struct ViewState;

// Draws the open model in the 3D view from each mesh's prepared layer: every mesh's groups
// textured (display mode 2) or as white wire outlines (1), hidden ones (0) not at all, and the
// group chosen for editing textured, tinted light green and outlined whatever its mesh's mode.
// Expects the model-view matrix to hold the camera (applyCamera) and leaves it as it found it;
// the enable flags, polygon mode, colour and bound texture stay as the last drawn group set
// them.
void drawModelView(const Model& model, const ViewState& view);

} // namespace sw
