#include "app/ViewControls.h"

#include "app/Navigation.h"
#include "app/ShellState.h"
#include "platform/WindowSystem.h"

#include <optional>
#include <string>

namespace sw {

namespace {

KeyContext keyContext(const ShellState& shell) {
    return {shell.currentModel.get(), shell.modelViewActive,
            shell.keyDown[static_cast<std::size_t>(vk::kShift)],
            shell.keyDown[static_cast<std::size_t>(vk::kControl)]};
}

std::optional<ViewBar> viewBar(ControlId id) {
    switch (id) {
    case ControlId::PitchBar:
        return ViewBar::Pitch;
    case ControlId::YawBar:
        return ViewBar::Yaw;
    case ControlId::ZoomBar:
        return ViewBar::Zoom;
    case ControlId::PanXBar:
        return ViewBar::PanX;
    case ControlId::PanYBar:
        return ViewBar::PanY;
    default:
        return std::nullopt;
    }
}

} // namespace

void showViewControls(const ViewState& view, WindowSystem& windows) {
    const ScrollBarPositions bars = scrollBarPositions(view);
    windows.setScrollPos(ControlId::PitchBar, bars.pitchBar);
    windows.setScrollPos(ControlId::YawBar, bars.yawBar);
    windows.setScrollPos(ControlId::ZoomBar, bars.zoomBar);
    windows.setScrollPos(ControlId::PanXBar, bars.panXBar);
    windows.setScrollPos(ControlId::PanYBar, bars.panYBar);
    windows.setText(ControlId::MouseModeButton, std::string(mouseModeCaption(view)));
}

void resetViewControls(ShellState& shell, WindowSystem& windows) {
    if (shell.currentModel)
        resetView(shell.viewState, *shell.currentModel);
    showViewControls(shell.viewState, windows);
}

void navigationKey(ShellState& shell, WindowSystem& windows, int virtualKey) {
    if (viewKeyDown(shell.viewState, virtualKey, keyContext(shell)))
        showViewControls(shell.viewState, windows);
}

void navigationCharacter(ShellState& shell, WindowSystem& windows, char character) {
    if (viewCharacter(shell.viewState, static_cast<unsigned char>(character), keyContext(shell)) !=
        ViewCommand::None)
        showViewControls(shell.viewState, windows);
}

void mouseModeButton(ShellState& shell, WindowSystem& windows) {
    windows.setFocus(Window::Main);
    toggleMouseRotate(shell.viewState);
    showViewControls(shell.viewState, windows);
}

void resetViewButton(ShellState& shell, WindowSystem& windows) {
    windows.setFocus(Window::Main);
    resetViewControls(shell, windows);
}

void navigationScroll(ShellState& shell, WindowSystem& windows, ControlId bar,
                      ScrollRequest request, int position) {
    const std::optional<ViewBar> viewBarOf = viewBar(bar);
    if (viewBarOf &&
        applyScrollRequest(shell.viewState, *viewBarOf, static_cast<int>(request), position))
        windows.setScrollPos(bar, scrollBarPosition(shell.viewState, *viewBarOf));
    if (shell.modelViewActive)
        windows.requestFrame();
}

void turnViewByPointer(ShellState& shell, WindowSystem& windows, int x, int y) {
    const int dx = x - shell.lastMouseX;
    const int dy = y - shell.lastMouseY;
    shell.lastMouseX = x;
    shell.lastMouseY = y;
    rotateByPointerMove(shell.viewState, dx, dy);
    if (dx != 0)
        windows.setScrollPos(ControlId::YawBar, scrollBarPosition(shell.viewState, ViewBar::Yaw));
    if (dy != 0)
        windows.setScrollPos(ControlId::PitchBar,
                             scrollBarPosition(shell.viewState, ViewBar::Pitch));
}

} // namespace sw
