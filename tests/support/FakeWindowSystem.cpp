#include "support/FakeWindowSystem.h"

#include "platform/WindowEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace sw::test {

namespace {

// The fake's OpenGL view draws into a small buffer of its own whatever size the layout gives
// the view; a test that reads pixels reads this one.
constexpr int kGlBufferSize = 64;

} // namespace

const FakeWindowSystem::Control& FakeWindowSystem::control(ControlId id) const {
    const auto it = controls_.find(id);
    if (it == controls_.end()) {
        ADD_FAILURE() << "no control " << toInt(id);
        throw std::out_of_range("no such control");
    }
    return it->second;
}

const FakeWindowSystem::TopLevel& FakeWindowSystem::window(Window window) const {
    const auto it = windows_.find(window);
    if (it == windows_.end()) {
        ADD_FAILURE() << "no window " << static_cast<int>(window);
        throw std::out_of_range("no such window");
    }
    return it->second;
}

FakeWindowSystem::Control* FakeWindowSystem::live(ControlId id) {
    const auto it = controls_.find(id);
    return it == controls_.end() || it->second.destroyed ? nullptr : &it->second;
}

const FakeWindowSystem::Control* FakeWindowSystem::live(ControlId id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() || it->second.destroyed ? nullptr : &it->second;
}

FakeWindowSystem::TopLevel* FakeWindowSystem::liveWindow(Window window) {
    const auto it = windows_.find(window);
    return it == windows_.end() || it->second.destroyed ? nullptr : &it->second;
}

void FakeWindowSystem::createFont(const std::string& face, int cellHeight) {
    fontFace_ = face;
    fontCellHeight_ = cellHeight;
}

bool FakeWindowSystem::registerWindowClass(Window window) {
    if (failRegistration.count(window) != 0)
        return false;
    registered_.push_back(window);
    return true;
}

void FakeWindowSystem::createMenu(const std::vector<MenuItemSpec>& items) {
    menu_.clear();
    for (const MenuItemSpec& item : items)
        menu_.push_back({item, item.enabled});
}

bool FakeWindowSystem::createWindow(const WindowDesc& desc) {
    if (failCreation.count(desc.window) != 0)
        return false;
    TopLevel& window = windows_[desc.window];
    window.title = desc.title;
    window.rect = desc.rect;
    window.hasFont = !fontFace_.empty();
    return true;
}

bool FakeWindowSystem::createControl(const ControlDesc& desc) {
    if (!liveWindow(desc.parent) || controls_.count(desc.id) != 0)
        return false;
    Control& control = controls_[desc.id];
    control.parent = desc.parent;
    control.kind = desc.kind;
    control.text = desc.text;
    control.rect = desc.rect;
    control.enabled = desc.enabled;
    control.hasFont = !fontFace_.empty() && desc.kind != ControlKind::HorizontalScrollBar &&
                      desc.kind != ControlKind::VerticalScrollBar;
    order_.push_back(desc.id);
    return true;
}

bool FakeWindowSystem::createGlContext() {
    if (failGlContext || !live(ControlId::GlView))
        return false;
    gl_ = HeadlessGl::create(kGlBufferSize, kGlBufferSize);
    return gl_ != nullptr;
}

std::optional<Size> FakeWindowSystem::clientSize(ControlId id) const {
    const Control* control = live(id);
    if (failClientSize || control == nullptr)
        return std::nullopt;
    return Size{std::max(control->rect.width, 0), std::max(control->rect.height, 0)};
}

void FakeWindowSystem::destroyControl(ControlId id) {
    if (Control* control = live(id)) {
        control->destroyed = true;
        destroyedControls_.push_back(id);
    }
}

void FakeWindowSystem::destroyWindow(Window window) {
    if (TopLevel* top = liveWindow(window)) {
        top->destroyed = true;
        top->visible = false;
        destroyedWindows_.push_back(window);
    }
}

void FakeWindowSystem::sendPrivate(Window window, PrivateMessage message) {
    privateMessages_.emplace_back(window, message);
    if (sink_ != nullptr && liveWindow(window))
        sink_->onPrivateMessage(window, message);
}

void FakeWindowSystem::enable(ControlId id, bool enabled) {
    for (MenuItem& item : menu_) {
        if (item.desc.kind != MenuItemSpec::Kind::Separator && item.desc.id == id)
            item.enabled = enabled;
    }
    if (Control* control = live(id))
        control->enabled = enabled;
}

bool FakeWindowSystem::isEnabled(ControlId id) const {
    for (const MenuItem& item : menu_) {
        if (item.desc.kind != MenuItemSpec::Kind::Separator && item.desc.id == id)
            return item.enabled;
    }
    const Control* control = live(id);
    return control != nullptr && control->enabled;
}

void FakeWindowSystem::setText(ControlId id, const std::string& text) {
    if (Control* control = live(id))
        control->text = text;
}

std::string FakeWindowSystem::text(ControlId id) const {
    const Control* control = live(id);
    return control != nullptr ? control->text : std::string();
}

void FakeWindowSystem::setChecked(ControlId id, bool checked) {
    if (Control* control = live(id))
        control->checked = checked;
}

bool FakeWindowSystem::isChecked(ControlId id) const {
    const Control* control = live(id);
    return control != nullptr && control->checked;
}

void FakeWindowSystem::moveControl(ControlId id, const Rect& rect) {
    if (Control* control = live(id))
        control->rect = rect;
}

void FakeWindowSystem::setFocus(ControlId id) {
    if (live(id)) {
        focusedControl_ = id;
        focusedWindow_.reset();
    }
}

void FakeWindowSystem::resetList(ControlId id) {
    if (Control* control = live(id)) {
        control->rows.clear();
        control->currentRow = -1;
    }
}

void FakeWindowSystem::insertRow(ControlId id, int row, const std::string& text) {
    Control* control = live(id);
    if (control == nullptr)
        return;
    // As a list box does: -1 (or past the end) appends.
    const auto size = static_cast<int>(control->rows.size());
    const int at = row < 0 || row > size ? size : row;
    control->rows.insert(control->rows.begin() + at, text);
}

void FakeWindowSystem::setCurrentRow(ControlId id, int row) {
    if (Control* control = live(id))
        control->currentRow = row >= 0 && row < static_cast<int>(control->rows.size()) ? row : -1;
}

int FakeWindowSystem::currentRow(ControlId id) const {
    const Control* control = live(id);
    return control != nullptr ? control->currentRow : -1;
}

void FakeWindowSystem::setScrollRange(ControlId id, int minimum, int maximum) {
    if (Control* control = live(id)) {
        control->scrollMinimum = minimum;
        control->scrollMaximum = maximum;
    }
}

void FakeWindowSystem::setScrollPos(ControlId id, int position) {
    if (Control* control = live(id))
        control->scrollPosition =
            std::clamp(position, control->scrollMinimum, control->scrollMaximum);
}

int FakeWindowSystem::scrollPos(ControlId id) const {
    const Control* control = live(id);
    return control != nullptr ? control->scrollPosition : 0;
}

void FakeWindowSystem::setVisible(Window window, bool visible) {
    TopLevel* top = liveWindow(window);
    if (top == nullptr)
        return;
    top->visible = visible;
    // Showing the main window for the first time tells it its size, which lays it out.
    if (visible && window == Window::Main && !top->shownOnce) {
        top->shownOnce = true;
        if (sink_ != nullptr)
            sink_->onSize(Window::Main, mainClientSize.width, mainClientSize.height);
    }
}

void FakeWindowSystem::setFocus(Window window) {
    if (liveWindow(window)) {
        focusedWindow_ = window;
        focusedControl_.reset();
    }
}

void FakeWindowSystem::setTitle(Window window, const std::string& title) {
    if (TopLevel* top = liveWindow(window))
        top->title = title;
}

} // namespace sw::test
