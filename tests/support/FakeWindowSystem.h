#pragma once

#include "platform/HeadlessGl.h"
#include "platform/WindowSystem.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sw::test {

// Every window, control and menu item held in memory, so a test can read the state a command
// sequence left behind. Failures of class registration, window creation and the GL context
// can be scripted. The OpenGL context is a real headless one, so the handlers' GL calls run.
class FakeWindowSystem : public WindowSystem {
public:
    struct Control {
        Window parent = Window::None;
        ControlKind kind = ControlKind::PushButton;
        std::string text;
        Rect rect;
        bool enabled = true;
        bool checked = false;
        bool hasFont = false;
        bool destroyed = false;
        std::vector<std::string> rows;
        int currentRow = -1;
        int scrollMinimum = 0;
        int scrollMaximum = 0;
        int scrollPosition = 0;
    };
    struct TopLevel {
        std::string title;
        Rect rect;
        bool visible = false;
        bool shownOnce = false;
        bool hasFont = false;
        bool destroyed = false;
    };
    struct MenuItem {
        MenuItemSpec desc;
        bool enabled = true;
    };

    // Script.
    std::set<Window> failRegistration;
    std::set<Window> failCreation;
    bool failGlContext = false;
    bool failClientSize = false;
    // The main window's client area when it is first shown.
    Size mainClientSize{504, 485};

    // What happened.
    bool hasControl(ControlId id) const { return controls_.count(id) != 0; }
    const Control& control(ControlId id) const; // fails the test when there is none
    bool hasWindow(Window window) const { return windows_.count(window) != 0; }
    const TopLevel& window(Window window) const;
    // Controls in the order they were created.
    const std::vector<ControlId>& creationOrder() const { return order_; }
    const std::vector<MenuItem>& menu() const { return menu_; }
    const std::vector<Window>& registeredClasses() const { return registered_; }
    const std::string& fontFace() const { return fontFace_; }
    int fontCellHeight() const { return fontCellHeight_; }
    std::optional<int> quitCode() const { return quitCode_; }
    int framesRequested() const { return framesRequested_; }
    const std::vector<ControlId>& destroyedControls() const { return destroyedControls_; }
    const std::vector<Window>& destroyedWindows() const { return destroyedWindows_; }
    const std::vector<std::pair<Window, PrivateMessage>>& privateMessages() const {
        return privateMessages_;
    }
    std::optional<ControlId> focusedControl() const { return focusedControl_; }
    std::optional<Window> focusedWindow() const { return focusedWindow_; }
    HeadlessGl* gl() const { return gl_.get(); }

    void setEventSink(WindowEvents* sink) override { sink_ = sink; }
    void createFont(const std::string& face, int cellHeight) override;
    bool registerWindowClass(Window window) override;
    void createMenu(const std::vector<MenuItemSpec>& items) override;
    bool createWindow(const WindowDesc& desc) override;
    bool createControl(const ControlDesc& desc) override;
    bool createGlContext() override;
    std::optional<Size> clientSize(ControlId id) const override;
    void destroyControl(ControlId id) override;
    void destroyWindow(Window window) override;
    void sendPrivate(Window window, PrivateMessage message) override;
    void postQuit(int exitCode) override { quitCode_ = exitCode; }
    void enable(ControlId id, bool enabled) override;
    bool isEnabled(ControlId id) const override;
    void setText(ControlId id, const std::string& text) override;
    std::string text(ControlId id) const override;
    void setChecked(ControlId id, bool checked) override;
    bool isChecked(ControlId id) const override;
    void moveControl(ControlId id, const Rect& rect) override;
    void setFocus(ControlId id) override;
    void resetList(ControlId id) override;
    void insertRow(ControlId id, int row, const std::string& text) override;
    void setCurrentRow(ControlId id, int row) override;
    int currentRow(ControlId id) const override;
    void setScrollRange(ControlId id, int minimum, int maximum) override;
    void setScrollPos(ControlId id, int position) override;
    int scrollPos(ControlId id) const override;
    void setVisible(Window window, bool visible) override;
    void setFocus(Window window) override;
    void setTitle(Window window, const std::string& title) override;
    void requestFrame() override { ++framesRequested_; }

private:
    Control* live(ControlId id);
    const Control* live(ControlId id) const;
    TopLevel* liveWindow(Window window);

    WindowEvents* sink_ = nullptr;
    std::map<ControlId, Control> controls_;
    std::vector<ControlId> order_;
    std::map<Window, TopLevel> windows_;
    std::vector<MenuItem> menu_;
    std::vector<Window> registered_;
    std::string fontFace_;
    int fontCellHeight_ = 0;
    std::optional<int> quitCode_;
    int framesRequested_ = 0;
    std::vector<ControlId> destroyedControls_;
    std::vector<Window> destroyedWindows_;
    std::vector<std::pair<Window, PrivateMessage>> privateMessages_;
    std::optional<ControlId> focusedControl_;
    std::optional<Window> focusedWindow_;
    std::unique_ptr<HeadlessGl> gl_;
};

} // namespace sw::test
