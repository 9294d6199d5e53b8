#include "support/X11Windows.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace sw::test {

namespace {

using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

// A connection to the display, or none.
Connection connect() {
    Connection x(xcb_connect(nullptr, nullptr), &xcb_disconnect);
    return x && xcb_connection_has_error(x.get()) == 0 ? std::move(x)
                                                       : Connection(nullptr, &xcb_disconnect);
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T* answer) {
    return Reply<T>(answer, &std::free);
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

// The process's mapped top-level window with this title.
std::optional<xcb_window_t> find(xcb_connection_t* c, long long pid, const std::string& title) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return std::nullopt;
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = reply(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        const std::string owner = property(c, children[i], pidAtom, XCB_ATOM_CARDINAL);
        std::uint32_t ownerPid = 0;
        if (owner.size() == sizeof ownerPid)
            std::memcpy(&ownerPid, owner.data(), sizeof ownerPid);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && ownerPid == pid &&
            property(c, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) == title)
            return children[i];
    }
    return std::nullopt;
}

} // namespace

std::optional<ScreenArea> shownWindow(long long pid, const std::string& title) {
    const Connection x = connect();
    const auto window = x ? find(x.get(), pid, title) : std::nullopt;
    if (!window)
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data->root;
    const auto geometry =
        reply(xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), *window), nullptr));
    const auto origin = reply(xcb_translate_coordinates_reply(
        x.get(), xcb_translate_coordinates(x.get(), *window, root, 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    return ScreenArea{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

bool closeWindow(long long pid, const std::string& title) {
    const Connection x = connect();
    const auto window = x ? find(x.get(), pid, title) : std::nullopt;
    if (!window)
        return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = *window;
    event.type = atom(x.get(), "WM_PROTOCOLS");
    event.data.data32[0] = atom(x.get(), "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x.get(), 0, *window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    // Wait until the server has handled the request, so it is not lost with the connection.
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    return true;
}

} // namespace sw::test
