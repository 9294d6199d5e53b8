#include "app/MainCommands.h"

#include "app/EditHistory.h"
#include "app/InterfaceState.h"
#include "app/ShellState.h"
#include "app/Windows.h"
#include "platform/Platform.h"

#include <cstdio>
#include <string>
#include <vector>

namespace sw {

namespace {

constexpr const char* kOffsetCaption = "Re-calculate character offset";

constexpr const char* kAboutText = "Skinweaver 1.1\n"
                                   "\n"
                                   "Edits the texture coordinates of Jedi Knight 3DO models.\n"
                                   "\n"
                                   "Choose a mesh and a texture in the control panel, remap it\n"
                                   "from a side or move its texture vertices by hand, and save.";

std::string offsetQuestion(double zMin) {
    constexpr const char* format =
        "This will adjust the insert offset so that the\ncharacter's feet are aligned with the "
        "ground in-game.\n\nThis is not desirable for non-character 3do's.\n\nIf you choose "
        "Yes, the offset will be adjusted to:\n0   0   %f";
    // Sized to the text: %f prints every digit before the point, however many.
    const int length = std::snprintf(nullptr, 0, format, zMin);
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, zMin);
    return {text.data(), static_cast<std::size_t>(length)};
}

} // namespace

void preferencesCommand(WindowSystem& windows) {
    windows.sendPrivate(Window::Options, PrivateMessage::Refresh);
    windows.setVisible(Window::Options, true);
    windows.setFocus(Window::Options);
}

void toggleControlPanel(ShellState& shell, WindowSystem& windows) {
    windows.setVisible(Window::Controls, !shell.controlPanelVisible);
    shell.controlPanelVisible = !shell.controlPanelVisible;
}

void recalculateOffsetCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentModel) {
        platform.messageBoxes.messageBox(Window::Main, "You must open a 3do file first.",
                                         kOffsetCaption, kMbOk);
        return;
    }
    Model& model = *shell.currentModel;
    if (platform.messageBoxes.messageBox(Window::Main, offsetQuestion(model.zMin), kOffsetCaption,
                                         kMbYesNo) == kIdYes)
        changeOffset(shell, platform, [&] { model.insertOffset = {0, 0, model.zMin}; });
}

void aboutCommand(Platform& platform) {
    platform.messageBoxes.messageBox(Window::Main, kAboutText, kProgramTitle, kMbOk);
}

void backspaceKey(ShellState& shell, WindowSystem& windows) {
    if (shell.modelViewActive && windows.currentRow(ControlId::MeshList) != -1) {
        windows.setCurrentRow(ControlId::TextureList, -1);
        if (shell.currentModel)
            shell.currentModel->clearGroupSelection();
        setTextureChosen(shell, windows, false);
    } else if (shell.textureViewActive && shell.currentEditor && shell.currentModel) {
        shell.currentEditor->selectNone(*shell.currentModel);
    }
}

} // namespace sw
