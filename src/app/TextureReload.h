#pragma once

#include <string>
#include <vector>

namespace sw {

struct Platform;
struct ShellState;

// Textures painted elsewhere show as soon as they are saved: while a model is open, the files
// its textures were loaded from (in folders; archives are the game's and stay as they are) and
// the palette file of the Preferences are watched, and read again when they change.

// The files to watch now: each loaded texture's file and the palette file, as found on disk.
std::vector<std::string> watchedFiles(const ShellState& shell);
// Tells the watcher what to watch; after anything that may have opened, closed or changed the
// model's textures or the palette.
void watchTextureFiles(ShellState& shell, Platform& platform);

// The watcher's report: the file is read again a little later, once its writer is done.
void textureFileChanged(ShellState& shell, Platform& platform, const std::string& path);
// The reload timer: every changed file that reads whole now is shown; one that does not (half
// written, or gone) is tried again shortly, and in the meantime the image shown stays.
void reloadChangedTextures(ShellState& shell, Platform& platform);

// Reads the textures of every material loaded from `file` (as found on disk) again. False when
// one of them did not read; it then shows what it showed.
bool reloadTextureFile(ShellState& shell, const std::string& file);

} // namespace sw
