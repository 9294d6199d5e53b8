#pragma once

#include "app/ShellState.h"
#include "platform/Platform.h"
#include "platform/WindowEvents.h"

#include <string>

namespace sw {

// The running program: its state, the platform it runs on, and the handlers of every window
// event. The window system calls the handlers; the handlers change the state and talk back
// through the platform.
class Shell : public WindowEvents {
public:
    explicit Shell(Platform& platform);

    // Start-up up to the event loop: reads the preferences and the palette, builds every
    // window and puts the interface into the no-model state. False when the windows could not
    // be created; the user has been told and the program ends with exit code 0.
    bool start();
    // The model file named on the command line, opened after start() as "&Open..." opens a
    // chosen file: refused unless its name ends in "3do", reported when it does not load.
    void openFromCommandLine(const std::string& path);

    ShellState state;
    Platform& platform;

    void onCommand(ControlId id, Notification notification) override;
    void onKeyDown(Window window, int virtualKey) override;
    void onKeyUp(Window window, int virtualKey) override;
    void onChar(Window window, char character) override;
    void onScroll(ControlId bar, ScrollRequest request, int position) override;
    void onSize(Window window, int width, int height) override;
    void onPointerMove(double x, double y, PointerState pointer) override;
    void onPointerPress(double x, double y, PointerButton button) override;
    void onPointerRelease(double x, double y, PointerButton button) override;
    void onWheel(double x, double y, double steps) override;
    void onClose(Window window) override;
    void onPrivateMessage(Window window, PrivateMessage message) override;
    void onFrame() override;
    void onTimer(Timer timer) override;

private:
    // Closing the main window: the model is dropped without a question, every control and
    // the tool windows go, and the event loop ends with exit code 0.
    void shutdown();
};

} // namespace sw
