#pragma once

#include "platform/MessageBox.h"

#include <string>
#include <vector>

namespace sw {

// One entry of a dialog's file-type list: "3DO model" with "*.3do", or several patterns
// separated by ';' ("*.mat;*.bmp").
struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileDialogRequest {
    enum class Kind { Open, Save, Folder }; // Folder: an existing folder is chosen
    Kind kind = Kind::Open;
    Window owner = Window::None;
    std::vector<FileFilter> filters;
    std::string defaultSuffix;    // added to a name typed without one
    bool fileMustExist = false;   // only existing files can be chosen
    bool pathMustExist = false;   // the folder must exist
    bool overwritePrompt = false; // choosing an existing file asks first
    std::string title;            // the dialog's own title when not empty
    std::string note;             // a sentence the dialog shows beside the files when not empty
    int* chosenFilter = nullptr;  // when set, receives the index of the file type chosen
};

// The open and save file dialogs, and the folder dialog. The path is the dialog's initial file
// (or folder); when the user chooses one the dialog fills the full path and the bare name and
// returns true; on cancel it returns false and leaves both as they were.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual bool showFileDialog(const FileDialogRequest& request, std::string& path,
                                std::string& fileName) = 0;
};

// Every file dialog of the program shares one set of defaults: "3do" is the suffix of a name
// typed without one, the palette and texture dialogs included.
inline constexpr const char* kDefaultSuffix = "3do";

// An open dialog (the file and its folder must exist) or a save dialog (the folder must exist,
// and replacing a file is asked about) with the shared defaults.
FileDialogRequest fileDialogRequest(FileDialogRequest::Kind kind, Window owner,
                                    std::vector<FileFilter> filters);

// The open dialog: the file and its folder must exist.
bool showOpenDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters);
// The save dialog: the folder must exist and an existing file is only replaced after asking.
bool showSaveDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters);
// The folder dialog: an existing folder is chosen, `path` being the one it starts in.
bool showFolderDialog(FileDialogService& dialogs, Window owner, std::string& path,
                      std::string& folderName);

} // namespace sw
