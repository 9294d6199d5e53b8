#include "platform/FileDialog.h"

namespace sw {

bool showOpenDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.owner = owner;
    request.filters = filters;
    request.defaultSuffix = kDefaultSuffix;
    request.fileMustExist = true;
    request.pathMustExist = true;
    return dialogs.showFileDialog(request, path, fileName);
}

bool showSaveDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.owner = owner;
    request.filters = filters;
    request.defaultSuffix = kDefaultSuffix;
    request.pathMustExist = true;
    request.overwritePrompt = true;
    return dialogs.showFileDialog(request, path, fileName);
}

bool showFolderDialog(FileDialogService& dialogs, Window owner, std::string& path,
                      std::string& folderName) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Folder;
    request.owner = owner;
    request.fileMustExist = true;
    request.pathMustExist = true;
    return dialogs.showFileDialog(request, path, folderName);
}

} // namespace sw
