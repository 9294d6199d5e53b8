#pragma once

#include "platform/FileDialog.h"

#include <string>
#include <vector>

namespace sw {

struct Platform;
struct ShellState;
class WindowSystem;

// The one open model file: opening, saving, saving under another name, reverting and closing
// it from the File menu, with the questions and messages that go with them, and the main
// window's title that names it.

// The file-type list of every model dialog: "3DO model", "*.3do".
const std::vector<FileFilter>& modelFileFilter();

// The open file's full path, its folder (with the final separator) and its name, from `path`;
// an empty path empties all three. The folder ends at the last separator, which is the
// system's own (on Windows either slash).
void setCurrentFile(ShellState& shell, const std::string& path);
// "Skinweaver 1.1", with " - " and the file name while a file is open.
void updateTitle(const ShellState& shell, WindowSystem& windows);

// Whether a chosen file name passes as a model: its last three characters are "3do" in any
// case.
bool hasModelSuffix(const std::string& fileName);

// Reads and prepares the model at `path` and shows it with the camera fitted to it. Expects no
// model to be open. On failure the user is told and no model is open; false then.
bool openModel(ShellState& shell, Platform& platform, const std::string& path);
// Drops the open model and its textures; the interface returns to the no-model state.
void closeModel(ShellState& shell, WindowSystem& windows);
// Write the open model to the current file, or to `path` which then becomes the current file
// (even when writing fails). A failed write is reported with the path and the reason; false
// then.
bool saveModel(ShellState& shell, Platform& platform);
bool saveModelAs(ShellState& shell, Platform& platform, const std::string& path);

// The File menu.
void openCommand(ShellState& shell, Platform& platform);
void revertCommand(ShellState& shell, Platform& platform);
void closeCommand(ShellState& shell, Platform& platform);
void saveCommand(ShellState& shell, Platform& platform);
void saveAsCommand(ShellState& shell, Platform& platform);

// Unsaved changes of the open model kept on the disk: now, as the model goes (closed without
// saving, the program ending); soon after a change, once a second at most, on a timer; and
// when that timer runs out.
void keepUnsavedChanges(ShellState& shell);
void keepChangesLater(ShellState& shell, WindowSystem& windows);
void keepChangesNow(ShellState& shell, WindowSystem& windows);

// A model named when the program starts (a file manager opening a .3do with it): the name
// test and the opening of "&Open..." once its dialog has chosen `path`.
void openNamedModel(ShellState& shell, Platform& platform, const std::string& path);

} // namespace sw
