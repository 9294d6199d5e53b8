#include "support/Desktop.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace sw::test {

namespace {

constexpr unsigned kReturn = 0xff0d;
constexpr unsigned kShiftL = 0xffe1;
constexpr unsigned kControlL = 0xffe3;

// Where the view lies in the main window's client area, and what of the client it leaves.
constexpr int kViewLeft = 37;
constexpr int kViewTop = 8;
constexpr int kViewMarginX = 71;
constexpr int kViewMarginY = 43;

template <typename T> std::unique_ptr<T, decltype(&std::free)> reply(T* answer) {
    return {answer, &std::free};
}

xcb_window_t rootOf(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const auto r =
        reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr));
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The bytes of a window's property, empty when it has none.
std::string property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    const auto r = reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr));
    if (!r)
        return {};
    return {static_cast<const char*>(xcb_get_property_value(r.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(r.get()))};
}

// The key code that gives a key symbol, and whether Shift must be held for it.
std::optional<std::pair<xcb_keycode_t, bool>> keyFor(xcb_connection_t* c, unsigned keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = reply(xcb_get_keyboard_mapping_reply(
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

// The server has taken every request so far.
void sync(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

std::unique_ptr<X11> X11::connect() {
    auto x = std::make_unique<X11>(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(x->c_) != 0 ||
        !reply(xcb_test_get_version_reply(x->c_, xcb_test_get_version(x->c_, 2, 1), nullptr)))
        return nullptr;
    return x;
}

X11::~X11() {
    xcb_disconnect(c_);
}

std::optional<unsigned> X11::find(long long pid, const std::string& title) {
    const auto tree = reply(xcb_query_tree_reply(c_, xcb_query_tree(c_, rootOf(c_)), nullptr));
    if (!tree)
        return std::nullopt;
    const xcb_atom_t pidAtom = atom(c_, "_NET_WM_PID");
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = reply(xcb_get_window_attributes_reply(
            c_, xcb_get_window_attributes(c_, children[i]), nullptr));
        const std::string owner = property(c_, children[i], pidAtom, XCB_ATOM_CARDINAL);
        std::uint32_t ownerPid = 0;
        if (owner.size() == sizeof ownerPid)
            std::memcpy(&ownerPid, owner.data(), sizeof ownerPid);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && ownerPid == pid &&
            property(c_, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) == title)
            return children[i];
    }
    return std::nullopt;
}

std::optional<ScreenArea> X11::shownWindow(long long pid, const std::string& title) {
    const auto window = find(pid, title);
    if (!window)
        return std::nullopt;
    const auto geometry = reply(xcb_get_geometry_reply(c_, xcb_get_geometry(c_, *window), nullptr));
    const auto origin = reply(xcb_translate_coordinates_reply(
        c_, xcb_translate_coordinates(c_, *window, rootOf(c_), 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    return ScreenArea{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

bool X11::closeWindow(long long pid, const std::string& title) {
    const auto window = find(pid, title);
    if (!window)
        return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = *window;
    event.type = atom(c_, "WM_PROTOCOLS");
    event.data.data32[0] = atom(c_, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c_, 0, *window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    sync(c_);
    return true;
}

void X11::fake(int type, int detail, int x, int y) {
    xcb_test_fake_input(c_, static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(detail),
                        XCB_CURRENT_TIME, rootOf(c_), static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y), 0);
    sync(c_);
    // Time for the program to take the event before the next one comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

void X11::moveTo(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);
}

void X11::button(bool down) {
    fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, 1);
}

void X11::wheel(int notches) {
    for (int i = 0; i < std::abs(notches); ++i) {
        const int button = notches > 0 ? 4 : 5;
        fake(XCB_BUTTON_PRESS, button);
        fake(XCB_BUTTON_RELEASE, button);
    }
}

void X11::hold(unsigned keysym, bool down) {
    if (const auto found = keyFor(c_, keysym))
        fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, found->first);
}

void X11::click(int x, int y) {
    moveTo(x, y);
    button(true);
    button(false);
}

void X11::key(unsigned keysym, bool control) {
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

void X11::type(const std::string& text) {
    for (const char character : text)
        key(static_cast<unsigned char>(character));
}

bool RealProgram::start(const QStringList& arguments, const std::string& mainTitle) {
    scale_ = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                 ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                 : 1.0;
    if (scale_ <= 0)
        scale_ = 1;
    x_ = X11::connect();
    if (!x_)
        return false;
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(SW_SKINWEAVER_PROGRAM, arguments);
    if (!process_.waitForStarted())
        return false;
    pid_ = process_.processId();
    if (!waitForWindow(mainTitle) || !waitForWindow("Control Panel"))
        return false;
    main_ = *x_->shownWindow(pid_, mainTitle);
    panel_ = *x_->shownWindow(pid_, "Control Panel");
    return true;
}

bool RealProgram::close(const std::string& mainTitle) {
    return x_->closeWindow(pid_, mainTitle) && process_.waitForFinished(10000) &&
           process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

bool RealProgram::waitForWindow(const std::string& title) {
    return waitFor([&] { return x_->shownWindow(pid_, title).has_value(); });
}

bool RealProgram::mainTitled(const std::string& title) {
    if (!waitForWindow(title))
        return false;
    main_ = *x_->shownWindow(pid_, title);
    return true;
}

int RealProgram::scaled(double pixels) const {
    return static_cast<int>(std::lround(pixels * scale_));
}

void RealProgram::clickInPanel(QPoint at) {
    x_->click(panel_.x + scaled(at.x()), panel_.y + scaled(at.y()));
}

void RealProgram::fileMenu(char accessKey) {
    x_->click(main_.x + scaled(18), main_.y + scaled(8));
    x_->key(static_cast<unsigned char>(accessKey));
}

bool RealProgram::typeInto(const std::string& dialogTitle, const std::string& text, bool replace) {
    if (!waitForWindow(dialogTitle))
        return false;
    const ScreenArea dialog = *x_->shownWindow(pid_, dialogTitle);
    x_->moveTo(dialog.x + dialog.width / 2, dialog.y + dialog.height / 2);
    if (replace)
        x_->key('a', true);
    x_->type(text);
    x_->key(kReturn);
    return true;
}

// The view's top is where the black starts below the menu bar, at its left edge.
bool RealProgram::findView() {
    const int left = main_.x + scaled(kViewLeft);
    int top = -1;
    const bool found = waitFor([&] {
        const QImage screen = grabScreen();
        // Below the menu bar once the window is drawn: the screen around it is black too.
        bool drawn = false;
        for (int y = main_.y; y < main_.y + scaled(80) && top < 0; ++y) {
            const bool black = screen.pixel(left + 3, y) == qRgb(0, 0, 0);
            if (black && drawn)
                top = y;
            drawn = drawn || !black;
        }
        return top >= 0;
    });
    view_ = QRect(left, top, main_.width - scaled(kViewMarginX),
                  main_.y + main_.height - (top - scaled(kViewTop)) - scaled(kViewMarginY));
    return found;
}

QPoint RealProgram::viewPoint(double u, double v, double aspect) const {
    const double margin = 16 * scale_;
    const double across =
        std::min(view_.width() - 2 * margin, (view_.height() - 2 * margin) / aspect);
    const double x = view_.x() + view_.width() / 2.0 + (u - 0.5) * across;
    const double y = view_.y() + view_.height() / 2.0 - (v - 0.5) * across * aspect;
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

void RealProgram::drag(double u0, double v0, double u1, double v1, double aspect) {
    const auto pointAt = [&](double u, double v) {
        const QPoint at = viewPoint(u, v, aspect);
        x_->moveTo(at.x(), at.y());
    };
    pointAt(u0, v0);
    x_->button(true);
    pointAt((u0 + u1) / 2, (v0 + v1) / 2);
    pointAt(u1, v1);
    x_->button(false);
}

} // namespace sw::test
