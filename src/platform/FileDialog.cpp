#include "platform/FileDialog.h"

#include <utility>

namespace sw {

FileDialogRequest fileDialogRequest(FileDialogRequest::Kind kind, Window owner,
                                    std::vector<FileFilter> filters) {
    FileDialogRequest request;
    request.kind = kind;
    request.owner = owner;
    request.filters = std::move(filters);
    request.defaultSuffix = kDefaultSuffix;
    request.fileMustExist = kind == FileDialogRequest::Kind::Open;
    request.pathMustExist = true;
    request.overwritePrompt = kind == FileDialogRequest::Kind::Save;
    return request;
}

bool showOpenDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters) {
    return dialogs.showFileDialog(fileDialogRequest(FileDialogRequest::Kind::Open, owner, filters),
                                  path, fileName);
}

bool showSaveDialog(FileDialogService& dialogs, Window owner, std::string& path,
                    std::string& fileName, const std::vector<FileFilter>& filters) {
    return dialogs.showFileDialog(fileDialogRequest(FileDialogRequest::Kind::Save, owner, filters),
                                  path, fileName);
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
