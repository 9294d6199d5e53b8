#include "app/ViewportInput.h"

#include "app/EditHistory.h"
#include "app/ShellState.h"

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

// A click picks the vertices within this many pixels of the pointer, or within the editor's
// tolerance in texture units where that is more.
constexpr double kPickPixels = 4;
// One notch of the wheel zooms by this factor.
constexpr double kZoomPerNotch = 1.25;

} // namespace

ViewArea textureViewArea(const ShellState& shell) {
    return {shell.viewportRect.width(), shell.viewportRect.height(), shell.pixelRatio,
            shell.keepTextureProportions};
}

TexturePoint textureCoordinatesAt(const ShellState& shell, double x, double y) {
    return shell.currentEditor->mapping(*shell.currentModel, textureViewArea(shell))
        .textureAt(x, y);
}

// Both ends of a pointer step are converted with the view as it is now, so a step moves by
// what it covers on the screen however the view changed since the step before. While CTRL
// moves vertices the view holds still, so that they stay under the pointer and many small
// steps move them exactly as far as one large one.
void texturePointerMove(ShellState& shell, Platform& platform, double x, double y,
                        PointerState state) {
    if (!shell.currentEditor || !shell.currentModel)
        return;
    UvEditor& editor = *shell.currentEditor;
    const Model& model = *shell.currentModel;
    const double fromX = shell.pointerX;
    const double fromY = shell.pointerY;
    shell.pointerX = x;
    shell.pointerY = y;
    if (shell.panning && state.middle) {
        editor.panBy(model, textureViewArea(shell), x - fromX, y - fromY);
        return;
    }
    shell.panning = false;
    if (state.control)
        editor.holdForGesture(shell.keepTextureProportions);
    const ViewMapping view = editor.mapping(model, textureViewArea(shell));
    const TexturePoint previous = view.textureAt(fromX, fromY);
    const TexturePoint now = view.textureAt(x, y);
    // The rectangle starts where the pointer was before the first move of the drag.
    if (shell.buttonDown && !shell.dragStarted) {
        shell.dragStarted = true;
        editor.beginRect(previous.u, previous.v);
    }
    const double du = now.u - previous.u;
    const double dv = now.v - previous.v;
    // Every move while CTRL stays held belongs to one gesture, which undo takes back at once.
    if (state.control) {
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

void texturePointerPress(ShellState& shell, double x, double y, PointerButton button) {
    if (button == PointerButton::Left) {
        shell.buttonDown = true;
        shell.dragStarted = false;
    } else if (button == PointerButton::Middle) {
        shell.panning = true;
        shell.pointerX = x;
        shell.pointerY = y;
    }
}

// A click acts where the latest move left the pointer, not where the release reports it.
void texturePointerRelease(ShellState& shell, PointerButton button) {
    if (button == PointerButton::Middle)
        shell.panning = false;
    if (button != PointerButton::Left || !shell.buttonDown)
        return;
    if (shell.currentEditor && shell.currentModel) {
        UvEditor& editor = *shell.currentEditor;
        if (shell.dragStarted) {
            editor.endRect(*shell.currentModel);
        } else {
            const ViewMapping view = editor.mapping(*shell.currentModel, textureViewArea(shell));
            const TexturePoint at = view.textureAt(shell.pointerX, shell.pointerY);
            editor.toggleAt(*shell.currentModel, at.u, at.v,
                            std::max(UvEditor::kClickTolerance, kPickPixels * view.unitsPerPixelU),
                            std::max(UvEditor::kClickTolerance, kPickPixels * view.unitsPerPixelV));
        }
    }
    shell.buttonDown = false;
    shell.dragStarted = false;
}

void textureWheel(ShellState& shell, double x, double y, double steps) {
    if (!shell.currentEditor || !shell.currentModel || !std::isfinite(steps))
        return;
    shell.currentEditor->zoomAt(*shell.currentModel, textureViewArea(shell), x, y,
                                std::pow(kZoomPerNotch, steps));
}

} // namespace sw
