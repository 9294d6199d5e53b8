#include "app/ViewportInput.h"

#include "app/EditHistory.h"
#include "app/ShellState.h"

namespace sw {

TexturePoint textureCoordinatesAt(const ShellState& shell, int x, int y) {
    const UvEditor& editor = *shell.currentEditor;
    const double half = editor.shownHalfExtent();
    const int width = shell.viewportRect.width();
    const int height = shell.viewportRect.height();
    // A view without area shows nothing to point at: its middle stands for every pixel.
    const double across = width > 0 ? static_cast<double>(x) / width : 0.5;
    const double down = height > 0 ? static_cast<double>(y) / height : 0.5;
    return {editor.centreU - half + 2 * half * across,
            editor.centreV - half + 2 * half * (1.0 - down)};
}

void texturePointerMove(ShellState& shell, Platform& platform, int x, int y) {
    if (!shell.currentEditor || !shell.currentModel)
        return;
    UvEditor& editor = *shell.currentEditor;
    shell.previousU = shell.pointerU;
    shell.previousV = shell.pointerV;
    const TexturePoint at = textureCoordinatesAt(shell, x, y);
    shell.pointerU = at.u;
    shell.pointerV = at.v;
    // The rectangle starts where the pointer was before the first move of the drag.
    if (shell.buttonDown && !shell.dragStarted) {
        shell.dragStarted = true;
        editor.beginRect(shell.previousU, shell.previousV);
    }
    const double du = shell.pointerU - shell.previousU;
    const double dv = shell.pointerV - shell.previousV;
    // Every move while CTRL stays held belongs to one gesture, which undo takes back at once.
    if (shell.keyDown[vk::kControl]) {
        changeChosenGroup(
            shell, platform,
            [&] {
                editor.moveSelection(*shell.currentModel, du, dv);
                return true;
            },
            true);
        return;
    }
    closeGesture(shell);
    if (shell.buttonDown)
        editor.dragRect(du, dv);
}

void texturePointerPress(ShellState& shell) {
    shell.buttonDown = true;
    shell.dragStarted = false;
}

// A click acts where the latest move left the pointer, not where the release reports it.
void texturePointerRelease(ShellState& shell) {
    if (!shell.buttonDown)
        return;
    if (shell.currentEditor && shell.currentModel) {
        if (shell.dragStarted)
            shell.currentEditor->endRect(*shell.currentModel);
        else
            shell.currentEditor->toggleAt(*shell.currentModel, shell.pointerU, shell.pointerV);
    }
    shell.buttonDown = false;
    shell.dragStarted = false;
}

} // namespace sw
