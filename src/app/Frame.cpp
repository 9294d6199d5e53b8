#include "app/Frame.h"

#include "app/ShellState.h"
#include "app/ViewportInput.h"
#include "platform/WindowSystem.h"
#include "render/GlFrame.h"
#include "render/ModelView.h"

#include <GL/gl.h>

namespace sw {

namespace {

// The texture view of the chosen group. Its projection is set at every frame: what it shows
// follows the vertices, which the last event may have changed, or the user's zoom and pan.
void drawTextureView(const ShellState& shell) {
    if (!shell.currentEditor || !shell.currentModel)
        return;
    const ViewMapping view =
        shell.currentEditor->mapping(*shell.currentModel, textureViewArea(shell));
    shell.currentEditor->setProjection(view);
    shell.currentEditor->draw(*shell.currentModel, view);
}

} // namespace

void renderFrame(const ShellState& shell) {
    // The model view's projection too, as the device pixels of the view may have changed
    // since it was set (the window moved to a screen of another scale).
    if (shell.modelViewActive)
        setupViewProjection(shell);
    beginFrame();
    if (shell.modelViewActive) {
        applyCamera(shell.viewState);
        if (shell.currentModel)
            drawModelView(*shell.currentModel, shell.viewState);
    } else if (shell.textureViewActive) {
        drawTextureView(shell);
    }
    glFlush();
}

void clearView(WindowSystem& windows) {
    windows.requestFrame();
}

void resizeView(ShellState& shell, WindowSystem& windows, int width, int height) {
    shell.viewportRect = {0, 0, width, height};
    shell.pixelRatio = windows.viewPixelRatio();
    setupViewProjection(shell);
    windows.requestFrame();
}

void setupViewProjection(const ShellState& shell) {
    const ViewArea area = textureViewArea(shell);
    setupProjection(area.deviceWidth(), area.deviceHeight(), shell.modelViewActive);
}

} // namespace sw
