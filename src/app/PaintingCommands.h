#pragma once

#include <string>

namespace sw {

struct Platform;
struct ShellState;

// The painting loop of the File menu, on the chosen texture group: a template to paint on out,
// the painting back in as the group's texture.

// "&Export paint template...": the group's faces' outlines at the texture's size or a
// multiple of it, alone or over the texture, written as a PNG file the user names.
void exportTemplateCommand(ShellState& shell, Platform& platform);

// "&Import painting...": a PNG or BMP image written as the group's texture MAT (8-bit through
// the palette when the texture it replaces was, else 16-bit), into the texture's own file
// (kept as NAME.MAT.bak, after asking) when that is a MAT in a folder, else into the model's
// mat folder, and shown at once. A material name that could lead outside its folder is not
// used for a path: the user names the file instead.
void importPaintingCommand(ShellState& shell, Platform& platform);

// Whether a material's name, which comes from the model file, names a file in a folder and
// nothing else: not empty, no separator of either kind, no drive, no "..".
bool isPlainFileName(const std::string& name);

} // namespace sw
