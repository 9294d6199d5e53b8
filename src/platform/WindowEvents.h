#pragma once

#include "platform/ControlIds.h"
#include "platform/MessageBox.h"
#include "platform/WindowSystem.h"

namespace sw {

enum class PointerButton { Left, Middle, Right };

// What a pointer event tells besides where it happened: the buttons held during it and
// whether CTRL was held, whichever window has the keyboard.
struct PointerState {
    bool left = false;
    bool middle = false;
    bool control = false;
};

// What the window system reports, already translated into the program's own terms. The
// shell implements it; the window system calls it on the user-interface thread with the
// OpenGL view's context current.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    // A menu item or a control was used.
    virtual void onCommand(ControlId id, Notification notification) = 0;
    // Keys of the window that has the keyboard focus, as virtual-key codes. A key held down
    // repeats onKeyDown without onKeyUp in between.
    virtual void onKeyDown(Window window, int virtualKey) = 0;
    virtual void onKeyUp(Window window, int virtualKey) = 0;
    // The character a key press typed, after onKeyDown.
    virtual void onChar(Window window, char character) = 0;
    // A scroll bar asks to move; position is the thumb's for ThumbPosition and ThumbTrack.
    // The bar does not move by itself: the handler sets its position.
    virtual void onScroll(ControlId bar, ScrollRequest request, int position) = 0;
    // The client area of the main window or the OpenGL view has a new size.
    virtual void onSize(Window window, int width, int height) = 0;
    // The pointer and its buttons over the OpenGL view, in the view's logical pixels (a
    // fraction where the screen is scaled) with y counted downwards. A release outside the
    // view is not reported. The wheel turns by `steps` notches, positive away from the user.
    virtual void onPointerMove(double x, double y, PointerState state) = 0;
    virtual void onPointerPress(double x, double y, PointerButton button) = 0;
    virtual void onPointerRelease(double x, double y, PointerButton button) = 0;
    virtual void onWheel(double x, double y, double steps) = 0;
    // The close box (or the system's close command) of a top-level window; the window stays
    // until the handler destroys or hides it.
    virtual void onClose(Window window) = 0;
    virtual void onPrivateMessage(Window window, PrivateMessage message) = 0;
    // Draw the OpenGL view now; presenting it is the window system's part.
    virtual void onFrame() = 0;
    // A timer started with WindowSystem::startTimer ran out.
    virtual void onTimer(Timer timer) = 0;
};

} // namespace sw
