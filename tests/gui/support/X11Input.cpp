#include "support/X11Input.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace sw::test {

namespace {

constexpr unsigned kShiftL = 0xffe1;
constexpr unsigned kControlL = 0xffe3;

template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T* p) {
    return {p, &std::free};
}

// The key code that gives a key symbol, and whether Shift must be held for it.
std::optional<std::pair<xcb_keycode_t, bool>> keyFor(xcb_connection_t* c, unsigned keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = owned(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (!map)
        return std::nullopt;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int level = 0; level < 2 && level < perCode; ++level)
        for (int code = 0; code < count; ++code)
            if (syms[code * perCode + level] == keysym)
                return std::pair{static_cast<xcb_keycode_t>(setup->min_keycode + code), level == 1};
    return std::nullopt;
}

} // namespace

std::unique_ptr<X11Input> X11Input::connect() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (c == nullptr || xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        return nullptr;
    }
    const auto version =
        owned(xcb_test_get_version_reply(c, xcb_test_get_version(c, 2, 1), nullptr));
    if (!version) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::make_unique<X11Input>(c);
}

X11Input::X11Input(xcb_connection_t* connection)
    : c_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {}

X11Input::~X11Input() {
    xcb_disconnect(c_);
}

void X11Input::fake(int type, int detail, int x, int y) {
    xcb_test_fake_input(c_, static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(detail),
                        XCB_CURRENT_TIME, root_, static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y), 0);
    sync();
}

void X11Input::sync() {
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    // Time for the program to take the event before the next one comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

void X11Input::moveTo(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);
}

void X11Input::press() {
    fake(XCB_BUTTON_PRESS, 1);
}

void X11Input::release() {
    fake(XCB_BUTTON_RELEASE, 1);
}

void X11Input::click(int x, int y) {
    moveTo(x, y);
    press();
    release();
}

void X11Input::key(unsigned keysym, bool control) {
    const auto found = keyFor(c_, keysym);
    if (!found)
        return;
    std::vector<xcb_keycode_t> held; // Control, then Shift where the symbol needs it
    for (const auto& [wanted, modifier] : {std::pair{control, kControlL}, {found->second, kShiftL}})
        if (const auto code = wanted ? keyFor(c_, modifier) : std::nullopt) {
            held.push_back(code->first);
            fake(XCB_KEY_PRESS, code->first);
        }
    fake(XCB_KEY_PRESS, found->first);
    fake(XCB_KEY_RELEASE, found->first);
    for (auto code = held.rbegin(); code != held.rend(); ++code)
        fake(XCB_KEY_RELEASE, *code);
}

void X11Input::type(const std::string& text) {
    for (const char character : text)
        key(static_cast<unsigned char>(character));
}

} // namespace sw::test
