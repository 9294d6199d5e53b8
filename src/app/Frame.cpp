#include "app/Frame.h"

#include "app/ShellState.h"
#include "platform/WindowSystem.h"
#include "render/GlFrame.h"
#include "render/ModelView.h"

#include <GL/gl.h>

namespace sw {

namespace {

// The texture view of the chosen group. Its projection is set at every frame: the square it
// shows follows the vertices, which the last event may have changed.
void drawTextureView(const ShellState& shell) {
    if (!shell.currentEditor || !shell.currentModel)
        return;
    shell.currentEditor->setProjection(shell.viewportRect.width(), shell.viewportRect.height());
    shell.currentEditor->draw(*shell.currentModel);
}

} // namespace

void renderFrame(const ShellState& shell) {
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
    setupProjection(width, height, shell.modelViewActive);
    windows.requestFrame();
}

} // namespace sw
