#pragma once

#include "platform/ControlIds.h"

#include <string>

namespace sw {

struct Mesh;
struct Platform;
class WindowSystem;
struct ShellState;

// The control panel's commands (ids 301 to 517): choosing a mesh and how it is drawn, choosing
// the texture group to edit (which makes its editor), giving the group another image, the six
// automatic remaps and the box remap, switching between the 3D view and the texture view, and
// the selection and scaling of texture vertices.
void controlPanelCommand(ShellState& shell, Platform& platform, ControlId id,
                         Notification notification);

// Gives group g of mesh m the texture file `path` (named `fileName`) as "change ..." does, as
// one step of the history, and chooses the group again with its new name.
void giveGroupTexture(ShellState& shell, Platform& platform, int m, int g,
                      const std::string& fileName, const std::string& path);

// The box remap of the chosen group, from the panel's "box" and the Edit menu.
void boxRemapCommand(ShellState& shell, Platform& platform);

// The texture list filled with the names of the mesh's groups, none of them chosen.
void fillTextureList(const Mesh& mesh, WindowSystem& windows);

// The text of the factor box exactly as the C library's atof reads it in the C locale: the
// longest number at the start after blanks, 0 when there is none.
double factorOf(const std::string& text);

} // namespace sw
