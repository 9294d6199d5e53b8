#pragma once

#include "platform/HeadlessGl.h"
#include "platform/WindowEvents.h"
#include "platform/WindowSystem.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace sw::test {

// Every window, control and menu item held in memory, so a test can read the state a command
// sequence left behind. Failures of class registration, window creation and the GL context
// can be scripted. The OpenGL context is a real headless one, so the handlers' GL calls run.
class FakeWindowSystem : public WindowSystem {
public:
    // A window, a control or a menu item; each uses the fields it has.
    struct Element {
        Window parent = Window::None;
        ControlKind kind = ControlKind::PushButton;
        std::string text; // label, caption or title
        Rect rect{};
        bool enabled = false, checked = false, visible = false;
        std::vector<std::string> rows{};
        int currentRow = -1, scrollMinimum = 0, scrollMaximum = 0, scrollPosition = 0;
    };

    // Script.
    std::set<Window> failRegistration, failCreation;
    bool failGlContext = false, failClientSize = false;
    double pixelRatio = 1; // device pixels per logical pixel of the view

    // What happened. Menu items are among the controls, by their ids.
    std::map<ControlId, Element> controls;
    std::vector<ControlId> creationOrder; // controls proper, menu items not
    std::map<Window, Element> topLevels;
    std::vector<MenuItemSpec> menu;
    std::string fontFace;
    int fontCellHeight = 0;
    std::size_t createdBeforeFont = 0; // windows, controls and menu items
    std::optional<int> quitCode;
    int framesRequested = 0;
    std::map<Timer, int> timers; // started and not yet run, as a test runs them by hand
    std::vector<ControlId> destroyedControls;
    std::vector<Window> destroyedWindows;
    std::optional<Window> focusedWindow;     // none while a control has the focus
    std::optional<ControlId> focusedControl; // none while a window itself has it
    std::unique_ptr<HeadlessGl> gl;          // draws into 64 x 64 pixels whatever the view's size

    // Stricter than the window system, which ignores a stale handle: reading what does not
    // exist throws, and changing it creates it, so that the test sees it.
    const Element& control(ControlId id) const { return controls.at(id); }
    const Element& window(Window window) const { return topLevels.at(window); }

    void setEventSink(WindowEvents* sink) override { sink_ = sink; }
    void createFont(const std::string& face, int cellHeight) override {
        fontFace = face;
        fontCellHeight = cellHeight;
        createdBeforeFont = controls.size() + topLevels.size();
    }
    bool registerWindowClass(Window window) override { return failRegistration.count(window) == 0; }
    void createMenu(const std::vector<MenuItemSpec>& items) override {
        menu = items;
        for (const MenuItemSpec& item : items)
            if (item.kind != MenuItemSpec::Kind::Separator)
                controls[item.id] = {.text = item.text, .enabled = item.enabled};
    }
    bool createWindow(const WindowDesc& desc) override {
        if (failCreation.count(desc.window) != 0)
            return false;
        topLevels[desc.window] = {.text = desc.title, .rect = desc.rect};
        return true;
    }
    bool createControl(const ControlDesc& desc) override {
        if (topLevels.count(desc.parent) == 0 || controls.count(desc.id) != 0)
            return false;
        controls[desc.id] = {desc.parent, desc.kind, desc.text, desc.rect, desc.enabled};
        creationOrder.push_back(desc.id);
        return true;
    }
    bool createGlContext() override {
        if (!failGlContext && controls.count(ControlId::GlView) != 0)
            gl = HeadlessGl::create(64, 64);
        return gl != nullptr;
    }
    std::optional<Size> clientSize(ControlId id) const override {
        if (failClientSize || controls.count(id) == 0)
            return std::nullopt;
        const Rect& rect = control(id).rect;
        return Size{std::max(rect.width, 0), std::max(rect.height, 0)};
    }
    double viewPixelRatio() const override { return pixelRatio; }
    void destroyControl(ControlId id) override { destroyedControls.push_back(id); }
    void destroyWindow(Window window) override { destroyedWindows.push_back(window); }
    void sendPrivate(Window window, PrivateMessage message) override {
        if (sink_ != nullptr && topLevels.count(window) != 0)
            sink_->onPrivateMessage(window, message);
    }
    void postQuit(int exitCode) override { quitCode = exitCode; }
    void enable(ControlId id, bool enabled) override { controls[id].enabled = enabled; }
    bool isEnabled(ControlId id) const override { return control(id).enabled; }
    void setText(ControlId id, const std::string& text) override { controls[id].text = text; }
    std::string text(ControlId id) const override { return control(id).text; }
    void setChecked(ControlId id, bool checked) override { controls[id].checked = checked; }
    bool isChecked(ControlId id) const override { return control(id).checked; }
    void moveControl(ControlId id, const Rect& rect) override { controls[id].rect = rect; }
    void setFocus(ControlId id) override {
        focusedWindow.reset();
        focusedControl = id;
    }
    void resetList(ControlId id) override {
        controls[id].rows.clear();
        controls[id].currentRow = -1;
    }
    void insertRow(ControlId id, int row, const std::string& text) override {
        // As a list box does: -1 (or past the end) appends.
        auto& rows = controls[id].rows;
        const auto size = static_cast<int>(rows.size());
        rows.insert(rows.begin() + (row < 0 || row > size ? size : row), text);
    }
    void setCurrentRow(ControlId id, int row) override {
        Element& list = controls[id];
        list.currentRow = row >= 0 && row < static_cast<int>(list.rows.size()) ? row : -1;
    }
    int currentRow(ControlId id) const override { return control(id).currentRow; }
    void setScrollRange(ControlId id, int minimum, int maximum) override {
        controls[id].scrollMinimum = minimum;
        controls[id].scrollMaximum = maximum;
    }
    void setScrollPos(ControlId id, int position) override {
        Element& bar = controls[id];
        bar.scrollPosition = std::clamp(position, bar.scrollMinimum, bar.scrollMaximum);
    }
    int scrollPos(ControlId id) const override { return control(id).scrollPosition; }
    void setVisible(Window window, bool visible) override {
        topLevels[window].visible = visible;
        // Showing the main window for the first time tells it its client size, which lays it
        // out.
        if (window == Window::Main && visible && !mainShown_ && sink_ != nullptr) {
            mainShown_ = true;
            sink_->onSize(Window::Main, 504, 485);
        }
    }
    void setFocus(Window window) override {
        focusedWindow = window;
        focusedControl.reset();
    }
    void setTitle(Window window, const std::string& title) override {
        topLevels[window].text = title;
    }
    void requestFrame() override { ++framesRequested; }
    void startTimer(Timer timer, int milliseconds) override { timers[timer] = milliseconds; }

    // The windows, the controls in the order of their creation and the menu, a line each, with
    // everything the shell set on them.
    std::string tree() const {
        static constexpr const char* kWindows[] = {"none",    "main", "controls",
                                                   "options", "view", "sources"};
        static constexpr const char* kKinds[] = {"push", "radio", "check", "group", "label",
                                                 "list", "edit",  "hbar",  "vbar",  "gl"};
        static constexpr const char* kMenuKinds[] = {"dropdown", "item", "separator", "baritem"};
        std::ostringstream out;
        const auto describe = [&out](const Element& e) {
            out << e.rect.x << ' ' << e.rect.y << ' ' << e.rect.width << ' ' << e.rect.height
                << " \"" << e.text << "\"";
        };
        for (const auto& [window, top] : topLevels) {
            out << "window " << kWindows[static_cast<int>(window)] << ' ';
            describe(top);
            out << (top.visible ? " shown\n" : " hidden\n");
        }
        for (const ControlId id : creationOrder) {
            const Element& c = control(id);
            out << "control " << kWindows[static_cast<int>(c.parent)] << ' ' << toInt(id) << ' '
                << kKinds[static_cast<int>(c.kind)] << ' ';
            describe(c);
            out << (c.enabled ? " enabled" : " disabled") << (c.checked ? " checked" : "");
            if (c.scrollMinimum != c.scrollMaximum)
                out << " scroll " << c.scrollMinimum << ' ' << c.scrollMaximum << ' '
                    << c.scrollPosition;
            out << '\n';
        }
        for (const MenuItemSpec& item : menu) {
            out << "menu " << kMenuKinds[static_cast<int>(item.kind)];
            if (item.kind != MenuItemSpec::Kind::Separator)
                out << ' ' << toInt(item.id) << " \"" << item.text << "\""
                    << (control(item.id).enabled ? " enabled" : " disabled")
                    << (control(item.id).checked ? " checked" : "");
            out << '\n';
        }
        return out.str();
    }

private:
    WindowEvents* sink_ = nullptr;
    bool mainShown_ = false;
};

} // namespace sw::test
