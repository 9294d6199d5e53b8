#include "app/Document.h"

#include "app/ControlPanel.h"
#include "app/EditHistory.h"
#include "app/Frame.h"
#include "app/InterfaceState.h"
#include "app/ShellState.h"
#include "app/SourcesWindow.h"
#include "app/ViewControls.h"
#include "app/Windows.h"
#include "model/SaveWarning.h"
#include "platform/Platform.h"
#include "textures/TextureUpload.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <string_view>

namespace sw {

namespace {

// The characters that end a folder in a path. Windows takes either slash.
#ifdef _WIN32
constexpr std::string_view kFolderSeparators = "\\/";
#else
constexpr std::string_view kFolderSeparators = "/";
#endif

constexpr const char* kSaveQuestion = "Save?";
constexpr const char* kRevertQuestion = "This will revert to the saved file.\n\nAre you sure?";

bool writeModel(ShellState& shell, Platform& platform, const std::string& path) {
    closeGesture(shell);
    if (const std::string warning = untexturedEditsWarning(*shell.currentModel);
        !warning.empty() &&
        platform.messageBoxes.messageBox(Window::Main, warning + "\n\nSave anyway?", kProgramTitle,
                                         kMbYesNo | kMbIconExclamation) != kIdYes)
        return false;
    if (shell.currentModel->save(path)) {
        shell.history.markSaved();
        // What was kept for the file the model came from, or for the one it replaced, is
        // saved now.
        shell.recovery.remove(shell.currentPath);
        if (path != shell.currentPath)
            shell.recovery.remove(path);
        return true;
    }
    // A modder must never believe a file is saved when it is not.
    platform.messageBoxes.messageBox(Window::Main,
                                     "The model was not saved to\n" + path + "\n\n" +
                                         shell.currentModel->saveError(),
                                     "File error", kMbOk | kMbIconExclamation);
    return false;
}

bool askYesNo(Platform& platform, const char* question) {
    return platform.messageBoxes.messageBox(Window::Main, question, kProgramTitle, kMbYesNo) ==
           kIdYes;
}

// The save dialog filled with the open file's path and name; a confirmed name is saved to.
// False when the dialog was cancelled or the file could not be written.
bool offerSaveAs(ShellState& shell, Platform& platform) {
    std::string dialogPath = shell.currentPath;
    std::string dialogTitle = shell.currentFileName;
    return showSaveDialog(platform.fileDialogs, Window::Main, dialogPath, dialogTitle,
                          modelFileFilter()) &&
           saveModelAs(shell, platform, dialogPath);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of(kFolderSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The steps of Open after its dialog: the name test, then the old model goes and the new one
// comes.
void openChosen(ShellState& shell, Platform& platform, const std::string& path,
                const std::string& fileName) {
    if (!hasModelSuffix(fileName)) {
        platform.messageBoxes.messageBox(Window::Main, "Please select a .3do file.", kProgramTitle,
                                         kMbOk);
        return;
    }
    if (shell.currentModel) {
        keepUnsavedChanges(shell);
        closeModel(shell, platform.windows);
    }
    openModel(shell, platform, path);
}

// The time a kept state was written, as the user's clock shows it.
std::string localTime(std::chrono::system_clock::time_point when) {
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0)
        return "an earlier session";
#else
    if (localtime_r(&time, &local) == nullptr)
        return "an earlier session";
#endif
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : "";
}

// Unsaved changes kept for `path` that are newer than the file: the user chooses them or the
// file. Choosing the file forgets them. True when they are to be opened.
bool offerKeptChanges(ShellState& shell, Platform& platform, const std::string& path) {
    const auto kept = shell.recovery.newerThanModel(path);
    if (!kept)
        return false;
    const std::string question = "Unsaved changes to " + fileNameOf(path) + " from " +
                                 localTime(*kept) + " were kept. Open them?";
    if (platform.messageBoxes.messageBox(Window::Main, question, kProgramTitle, kMbYesNo) == kIdYes)
        return true;
    shell.recovery.remove(path);
    return false;
}

// Kept changes that turned out not to read as a model: the user is told, they are forgotten,
// and the file opens as it was saved.
bool openWithoutKeptChanges(ShellState& shell, Platform& platform, const std::string& path) {
    shell.currentModel.reset();
    setCurrentFile(shell, {});
    platform.messageBoxes.messageBox(Window::Main,
                                     "The unsaved changes kept for " + fileNameOf(path) +
                                         " could not be read. The file opens as it was saved.",
                                     "File error", kMbOk | kMbIconExclamation);
    shell.recovery.remove(path);
    return openModel(shell, platform, path);
}

void fillLists(const Model& model, WindowSystem& windows) {
    for (int i = 0; i < model.numMeshes(); ++i)
        windows.insertRow(ControlId::MeshList, i, model.meshes[static_cast<std::size_t>(i)].name);
    // Selected by the program, which tells the control panel nothing.
    windows.setCurrentRow(ControlId::MeshList, 0);
    if (model.numMeshes() > 0)
        fillTextureList(model.meshes.front(), windows);
}

} // namespace

const std::vector<FileFilter>& modelFileFilter() {
    static const std::vector<FileFilter> filter{{"3DO model", "*.3do"}};
    return filter;
}

void setCurrentFile(ShellState& shell, const std::string& path) {
    shell.currentPath = path;
    const std::size_t separator = path.find_last_of(kFolderSeparators);
    if (separator == std::string::npos) {
        shell.currentDirectory.clear();
        shell.currentFileName = path;
    } else {
        shell.currentDirectory = path.substr(0, separator + 1);
        shell.currentFileName = path.substr(separator + 1);
    }
}

void updateTitle(const ShellState& shell, WindowSystem& windows) {
    std::string title = kProgramTitle;
    if (!shell.currentFileName.empty()) {
        title += " - " + shell.currentFileName;
        // Unsaved changes are marked as the desktop marks them, after the file's name.
        if (shell.currentModel && shell.history.isModified())
            title += "*";
    }
    windows.setTitle(Window::Main, title);
}

bool hasModelSuffix(const std::string& fileName) {
    if (fileName.size() < 3)
        return false;
    const std::string_view suffix = std::string_view(fileName).substr(fileName.size() - 3);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(suffix[0]) == '3' && lower(suffix[1]) == 'd' && lower(suffix[2]) == 'o';
}

bool openModel(ShellState& shell, Platform& platform, const std::string& path) {
    WindowSystem& windows = platform.windows;
    shell.history.clear();
    const bool recovered = offerKeptChanges(shell, platform, path);
    shell.currentModel = std::make_unique<Model>();
    if (!shell.currentModel->load(recovered ? shell.recovery.pathFor(path) : path)) {
        if (recovered)
            return openWithoutKeptChanges(shell, platform, path);
        platform.messageBoxes.messageBox(Window::Main, "Error loading file.", "File error", kMbOk);
        shell.currentModel.reset();
        return false;
    }
    setCurrentFile(shell, path);
    updateTitle(shell, windows);

    // A recovered state finds its textures where the model file does.
    shell.textureLoader.setDirectory(shell.currentDirectory);
    if (!shell.currentModel->prepare(shell.textureLoader.function(), platform.messageBoxes)) {
        if (recovered) {
            deleteTextures(*shell.currentModel);
            return openWithoutKeptChanges(shell, platform, path);
        }
        std::string text = "Error initializing model.";
        if (!shell.currentModel->preparationError().empty())
            text += "\n\n" + shell.currentModel->preparationError();
        platform.messageBoxes.messageBox(Window::Main, text, "Error", kMbOk);
        deleteTextures(*shell.currentModel);
        shell.currentModel.reset();
        setCurrentFile(shell, {});
        updateTitle(shell, windows);
        return false;
    }

    enterModelOpenState(shell, windows);
    fillLists(*shell.currentModel, windows);
    enableFileMenu(windows, true);
    if (recovered)
        shell.history.markUnsavedWithoutSteps();
    documentChanged(shell, windows);
    refreshMissingTextures(shell, windows);
    shell.modelViewActive = true;
    setupViewProjection(shell);
    resetViewControls(shell, windows);
    return true;
}

void closeModel(ShellState& shell, WindowSystem& windows) {
    shell.modelViewActive = false;
    shell.textureViewActive = false;
    windows.resetList(ControlId::MeshList);
    windows.resetList(ControlId::TextureList);
    enterNoModelState(shell, windows);
    enableFileMenu(windows, false);
    setCurrentFile(shell, {});
    if (shell.currentModel)
        deleteTextures(*shell.currentModel);
    shell.currentModel.reset();
    shell.history.clear();
    documentChanged(shell, windows);
    refreshMissingTextures(shell, windows);
    clearView(windows);
}

bool saveModel(ShellState& shell, Platform& platform) {
    const bool saved = writeModel(shell, platform, shell.currentPath);
    documentChanged(shell, platform.windows);
    return saved;
}

bool saveModelAs(ShellState& shell, Platform& platform, const std::string& path) {
    const bool saved = writeModel(shell, platform, path);
    // The chosen name becomes the open file's even when it could not be written: the title
    // then names the file the next Save goes to.
    setCurrentFile(shell, path);
    documentChanged(shell, platform.windows);
    return saved;
}

// A Yes to "Save?" whose save did not happen (the dialog cancelled, the file not written)
// stops the command that asked, so that the model stays open with its changes.
void openCommand(ShellState& shell, Platform& platform) {
    if (shell.currentModel && askYesNo(platform, kSaveQuestion) && !offerSaveAs(shell, platform))
        return;
    std::string dialogPath;
    std::string dialogTitle;
    if (!showOpenDialog(platform.fileDialogs, Window::Main, dialogPath, dialogTitle,
                        modelFileFilter()))
        return;
    openChosen(shell, platform, dialogPath, dialogTitle);
}

void revertCommand(ShellState& shell, Platform& platform) {
    if (!askYesNo(platform, kRevertQuestion))
        return;
    // The user chose to drop the changes: nothing of them is kept.
    shell.recovery.remove(shell.currentPath);
    const std::string dialogPath = shell.currentPath;
    closeModel(shell, platform.windows);
    openModel(shell, platform, dialogPath);
}

void closeCommand(ShellState& shell, Platform& platform) {
    if (askYesNo(platform, kSaveQuestion) && !offerSaveAs(shell, platform))
        return;
    keepUnsavedChanges(shell);
    closeModel(shell, platform.windows);
}

void saveCommand(ShellState& shell, Platform& platform) {
    saveModel(shell, platform);
}

void saveAsCommand(ShellState& shell, Platform& platform) {
    offerSaveAs(shell, platform);
}

void keepUnsavedChanges(ShellState& shell) {
    if (shell.currentModel && shell.history.isModified())
        shell.recovery.writeNow(*shell.currentModel, shell.currentPath);
}

void keepChangesLater(ShellState& shell, WindowSystem& windows) {
    if (shell.currentModel && shell.recovery.enabled() && !shell.recoveryPending) {
        shell.recoveryPending = true;
        windows.startTimer(Timer::Recovery, shell.recovery.delayMilliseconds());
    }
}

void keepChangesNow(ShellState& shell, WindowSystem& windows) {
    shell.recoveryPending = false;
    if (!shell.currentModel)
        return;
    if (!shell.history.isModified()) {
        shell.recovery.remove(shell.currentPath); // undone back to the file
    } else if (!shell.recovery.writeInBackground(*shell.currentModel, shell.currentPath)) {
        shell.recoveryPending = true; // the last write is still running
        windows.startTimer(Timer::Recovery, shell.recovery.delayMilliseconds() / 4);
    }
}

void openNamedModel(ShellState& shell, Platform& platform, const std::string& path) {
    openChosen(shell, platform, path, fileNameOf(path));
}

} // namespace sw
