#include "app/SourcesWindow.h"

#include "app/Document.h"
#include "app/ShellState.h"
#include "platform/Platform.h"
#include "platform/WindowSystem.h"
#include "textures/TextureSources.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sw {

namespace {

using Id = ControlId;
using Kind = ControlKind;

const WindowDesc kSourcesWindow{Window::Sources, "Texture sources", {24, 48, 400, 440}};

constexpr Window kSources = Window::Sources;
const auto kControls = std::to_array<ControlDesc>({
    {kSources, Kind::ListBox, Id::SourcesList, "", {8, 8, 292, 154}, true},
    {kSources, Kind::PushButton, Id::AddSourceFolder, "add folder...", {308, 8, 84, 18}, true},
    {kSources, Kind::PushButton, Id::AddSourceArchive, "add archive...", {308, 28, 84, 18}, true},
    {kSources, Kind::PushButton, Id::RemoveSource, "remove", {308, 56, 84, 18}, true},
    {kSources, Kind::PushButton, Id::MoveSourceUp, "up", {308, 76, 84, 18}, true},
    {kSources, Kind::PushButton, Id::MoveSourceDown, "down", {308, 96, 84, 18}, true},
    {kSources, Kind::PushButton, Id::ReloadModel, "reload", {308, 124, 84, 18}, true},
    {kSources, Kind::PushButton, Id::CloseSources, "close", {308, 144, 84, 18}, true},
    {kSources, Kind::Label, Id::SourcesStatus, "", {8, 170, 384, 86}, true},
    {kSources,
     Kind::Label,
     Id::MissingLabel,
     "Not found, and the places searched:",
     {8, 262, 384, 16},
     true},
    {kSources, Kind::ListBox, Id::MissingTextures, "", {8, 280, 120, 118}, true},
    {kSources, Kind::ListBox, Id::PlacesSearched, "", {134, 280, 258, 118}, true},
    {kSources, Kind::Label, Id::MissingHint, "", {8, 404, 384, 30}, true},
});

constexpr const char* kHowToFindMissing = "Add the folder or archive that holds a missing texture\n"
                                          "above, then press \"reload\".";

constexpr const char* kHowSourcesAreUsed =
    "Searched top to bottom for textures that are neither\n"
    "beside the model nor in its ../mat folder. Changes apply\n"
    "to the next model opened; \"reload\" opens this one again.";

const std::vector<FileFilter>& archiveFilter() {
    // The game's archives are named in capitals or not, and on a case-sensitive file system
    // a pattern matches only as written.
    static const std::vector<FileFilter> filter{{"GOB archive", "*.gob;*.goo;*.GOB;*.GOO"}};
    return filter;
}

// A source in the status line, whose width a whole path would overrun: its last component,
// with the reason on a line of its own.
std::string statusLine(const char* what, const std::string& path, const std::string& why) {
    std::string_view name = path;
    while (name.size() > 1 && (name.back() == '/' || name.back() == '\\'))
        name.remove_suffix(1);
    if (const std::size_t separator = name.find_last_of("/\\"); separator != name.npos)
        name.remove_prefix(separator + 1);
    return std::string(what) + ": " + std::string(name) + "\n" + why;
}

int count(const ShellState& shell) {
    return static_cast<int>(shell.textureLoader.sources().size());
}

void updateButtons(const ShellState& shell, WindowSystem& windows) {
    const int row = windows.currentRow(Id::SourcesList);
    windows.enable(Id::RemoveSource, row >= 0);
    windows.enable(Id::MoveSourceUp, row > 0);
    windows.enable(Id::MoveSourceDown, row >= 0 && row + 1 < count(shell));
    windows.enable(Id::ReloadModel, shell.currentModel != nullptr);
}

// Fills the list with `row` selected, and the buttons and the status line to match. Unless
// `status` says otherwise, the status line names the sources a load would skip, or else
// tells how the list is used.
void refresh(ShellState& shell, WindowSystem& windows, int row, std::string status = {}) {
    const std::vector<std::string>& sources = shell.textureLoader.sources();
    windows.resetList(Id::SourcesList);
    for (int i = 0; i < count(shell); ++i)
        windows.insertRow(Id::SourcesList, i, sources[static_cast<std::size_t>(i)]);
    windows.setCurrentRow(Id::SourcesList, row);
    updateButtons(shell, windows);
    if (status.empty()) {
        for (const std::string& source : sources) {
            if (const std::string why = textureSourceProblem(source); !why.empty())
                status += (status.empty() ? "" : "\n") + statusLine("Skipped", source, why);
        }
    }
    windows.setText(Id::SourcesStatus, status.empty() ? kHowSourcesAreUsed : status);
}

// Stores the changed list, which the next search uses, and shows it with `row` selected.
void change(ShellState& shell, Platform& platform, std::vector<std::string> sources, int row) {
    saveTextureSources(sources, platform.settings);
    shell.textureLoader.setSources(std::move(sources));
    refresh(shell, platform.windows, row);
}

// A source already listed is only selected; one that a load would skip is not added.
void add(ShellState& shell, Platform& platform, const std::string& path) {
    std::vector<std::string> sources = shell.textureLoader.sources();
    const auto listed = std::find(sources.begin(), sources.end(), path);
    if (listed != sources.end()) {
        refresh(shell, platform.windows, static_cast<int>(listed - sources.begin()));
        return;
    }
    if (const std::string why = textureSourceProblem(path); !why.empty()) {
        refresh(shell, platform.windows, platform.windows.currentRow(Id::SourcesList),
                statusLine("Not added", path, why));
        return;
    }
    sources.push_back(path);
    const int added = static_cast<int>(sources.size()) - 1;
    change(shell, platform, std::move(sources), added);
}

// The dialogs start at the chosen source, else at the last one.
std::string dialogStart(const ShellState& shell, const WindowSystem& windows) {
    const std::vector<std::string>& sources = shell.textureLoader.sources();
    if (sources.empty())
        return {};
    const int row = windows.currentRow(Id::SourcesList);
    return row >= 0 && row < count(shell) ? sources[static_cast<std::size_t>(row)] : sources.back();
}

void move(ShellState& shell, Platform& platform, int from, int to) {
    if (from < 0 || to < 0 || from >= count(shell) || to >= count(shell))
        return;
    std::vector<std::string> sources = shell.textureLoader.sources();
    std::swap(sources[static_cast<std::size_t>(from)], sources[static_cast<std::size_t>(to)]);
    change(shell, platform, std::move(sources), to);
}

// The open model's materials whose image was not found.
std::vector<const Material*> missingMaterials(const ShellState& shell) {
    std::vector<const Material*> missing;
    if (shell.currentModel)
        for (const Material& material : shell.currentModel->materials)
            if (material.notLoaded)
                missing.push_back(&material);
    return missing;
}

// The places searched for the chosen missing material, written without the "folder/.." steps
// of the game's layout.
void showPlacesSearched(ShellState& shell, WindowSystem& windows) {
    windows.resetList(Id::PlacesSearched);
    const std::vector<const Material*> missing = missingMaterials(shell);
    const int row = windows.currentRow(Id::MissingTextures);
    if (row < 0 || row >= static_cast<int>(missing.size()))
        return;
    int place = 0;
    for (const std::string& path :
         shell.textureLoader.placesSearched(*missing[static_cast<std::size_t>(row)]))
        windows.insertRow(Id::PlacesSearched, place++,
                          std::filesystem::path(path).lexically_normal().string());
}

} // namespace

void refreshMissingTextures(ShellState& shell, WindowSystem& windows) {
    if (!shell.sourcesWindowBuilt)
        return;
    const std::vector<const Material*> missing = missingMaterials(shell);
    windows.resetList(Id::MissingTextures);
    int row = 0;
    for (const Material* material : missing)
        windows.insertRow(Id::MissingTextures, row++, material->name);
    windows.setCurrentRow(Id::MissingTextures, missing.empty() ? -1 : 0);
    showPlacesSearched(shell, windows);
    windows.setText(Id::MissingHint, !shell.currentModel ? "No model is open."
                                     : missing.empty()   ? "Every texture of the model was found."
                                                         : kHowToFindMissing);
}

void textureSourcesCommand(ShellState& shell, Platform& platform) {
    WindowSystem& windows = platform.windows;
    if (!shell.sourcesWindowBuilt) {
        if (!windows.createWindow(kSourcesWindow))
            return;
        shell.sourcesWindowBuilt = true;
        for (const ControlDesc& control : kControls)
            windows.createControl(control);
    }
    refresh(shell, windows, -1);
    refreshMissingTextures(shell, windows);
    windows.setVisible(Window::Sources, true);
    windows.setFocus(Window::Sources);
}

void sourcesWindowCommand(ShellState& shell, Platform& platform, ControlId id) {
    WindowSystem& windows = platform.windows;
    const int row = windows.currentRow(Id::SourcesList);
    switch (id) {
    case Id::SourcesList:
        updateButtons(shell, windows);
        break;
    case Id::AddSourceFolder:
    case Id::AddSourceArchive: {
        std::string path = dialogStart(shell, windows);
        std::string name;
        const bool chosen =
            id == Id::AddSourceFolder
                ? showFolderDialog(platform.fileDialogs, Window::Sources, path, name)
                : showOpenDialog(platform.fileDialogs, Window::Sources, path, name,
                                 archiveFilter());
        if (chosen)
            add(shell, platform, path);
        break;
    }
    case Id::RemoveSource:
        if (row >= 0 && row < count(shell)) {
            std::vector<std::string> sources = shell.textureLoader.sources();
            sources.erase(sources.begin() + row);
            change(shell, platform, std::move(sources), std::min(row, count(shell) - 2));
        }
        break;
    case Id::MoveSourceUp:
        move(shell, platform, row, row - 1);
        break;
    case Id::MoveSourceDown:
        move(shell, platform, row, row + 1);
        break;
    case Id::ReloadModel:
        if (shell.currentModel)
            revertCommand(shell, platform);
        refresh(shell, windows, row);
        break;
    case Id::CloseSources:
        windows.setVisible(Window::Sources, false);
        break;
    case Id::MissingTextures:
        showPlacesSearched(shell, windows);
        break;
    default:
        break;
    }
}

} // namespace sw
