#include "app/TextureViewCommands.h"

#include "app/EditHistory.h"
#include "app/ShellState.h"
#include "platform/Platform.h"

#include <initializer_list>

namespace sw {

namespace {

constexpr const char* kProportionsValue = "KeepTextureProportions";

// The editor of the texture view while it is shown.
UvEditor* shownEditor(const ShellState& shell) {
    return shell.interfaceState == InterfaceState::Editing && shell.currentModel
               ? shell.currentEditor.get()
               : nullptr;
}

void changeSelection(ShellState& shell, Platform& platform, void (*change)(UvEditor&, Model&, int),
                     int argument) {
    UvEditor* editor = shownEditor(shell);
    if (editor == nullptr || !editor->anySelected(*shell.currentModel))
        return;
    changeChosenGroup(shell, platform, [&] {
        change(*editor, *shell.currentModel, argument);
        return true;
    });
}

} // namespace

void fitViewCommand(ShellState& shell) {
    if (UvEditor* editor = shownEditor(shell))
        editor->followVertices();
}

void keepProportionsCommand(ShellState& shell, Platform& platform) {
    shell.keepTextureProportions = !shell.keepTextureProportions;
    platform.windows.setChecked(ControlId::MenuKeepProportions, shell.keepTextureProportions);
    bool created = false;
    if (platform.settings.openOrCreate(created))
        platform.settings.writeString(kProportionsValue, shell.keepTextureProportions ? "1" : "0");
}

void rotateCommand(ShellState& shell, Platform& platform, int quarterTurns) {
    changeSelection(
        shell, platform,
        [](UvEditor& editor, Model& model, int turns) { editor.rotateSelection(model, turns); },
        quarterTurns);
}

void flipCommand(ShellState& shell, Platform& platform, bool horizontally) {
    changeSelection(
        shell, platform,
        [](UvEditor& editor, Model& model, int across) { editor.flipSelection(model, across); },
        horizontally ? 1 : 0);
}

void updateSelectionItems(const ShellState& shell, WindowSystem& windows) {
    const UvEditor* editor = shownEditor(shell);
    const bool selected = editor != nullptr && editor->anySelected(*shell.currentModel);
    for (const ControlId id : {ControlId::MenuRotateLeft, ControlId::MenuRotateRight,
                               ControlId::MenuFlipHorizontally, ControlId::MenuFlipVertically})
        windows.enable(id, selected);
}

bool loadKeepProportions(SettingsStore& settings) {
    bool created = false;
    return !settings.openOrCreate(created) || settings.readString(kProportionsValue) != "0";
}

} // namespace sw
