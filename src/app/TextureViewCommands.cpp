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

// Applies `change` to the editor and the model as one undo step, when vertices are selected.
template <typename Change>
void changeSelection(ShellState& shell, Platform& platform, Change&& change) {
    UvEditor* editor = shownEditor(shell);
    if (editor == nullptr || !editor->anySelected(*shell.currentModel))
        return;
    changeChosenGroup(shell, platform, [&] {
        change(*editor, *shell.currentModel);
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
    changeSelection(shell, platform, [quarterTurns](UvEditor& editor, Model& model) {
        editor.rotateSelection(model, quarterTurns);
    });
}

void flipCommand(ShellState& shell, Platform& platform, bool horizontally) {
    changeSelection(shell, platform, [horizontally](UvEditor& editor, Model& model) {
        editor.flipSelection(model, horizontally);
    });
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
