#include "support/X11Windows.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace sw::test {

namespace {

struct Connection {
    Connection() : connection(xcb_connect(nullptr, nullptr)) {}
    ~Connection() { xcb_disconnect(connection); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool ok() const { return xcb_connection_has_error(connection) == 0; }
    xcb_connection_t* connection;
};

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string title(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr),
        &std::free);
    if (!reply)
        return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

long long ownerPid(xcb_connection_t* c, xcb_window_t window) {
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) != 4)
        return -1;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

bool isMapped(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The mapped top-level windows of the process, with their titles.
std::vector<std::pair<xcb_window_t, std::string>> topLevels(xcb_connection_t* c, long long pid) {
    std::vector<std::pair<xcb_window_t, std::string>> windows;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr), &std::free);
    if (!tree)
        return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (isMapped(c, children[i]) && ownerPid(c, children[i]) == pid)
            windows.emplace_back(children[i], title(c, children[i]));
    }
    return windows;
}

} // namespace

std::vector<std::string> shownWindowTitles(long long pid) {
    Connection x;
    std::vector<std::string> titles;
    if (!x.ok())
        return titles;
    for (const auto& [window, name] : topLevels(x.connection, pid))
        titles.push_back(name);
    return titles;
}

std::optional<ScreenArea> windowAreaTitled(long long pid, const std::string& wanted) {
    Connection x;
    if (!x.ok())
        return std::nullopt;
    xcb_connection_t* c = x.connection;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (const auto& [window, name] : topLevels(c, pid)) {
        if (name != wanted)
            continue;
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
        const Reply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0),
                                            nullptr),
            &std::free);
        if (!geometry || !origin)
            return std::nullopt;
        return ScreenArea{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
    }
    return std::nullopt;
}

bool closeWindowTitled(long long pid, const std::string& wanted) {
    Connection x;
    if (!x.ok())
        return false;
    for (const auto& [window, name] : topLevels(x.connection, pid)) {
        if (name != wanted)
            continue;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom(x.connection, "WM_PROTOCOLS");
        event.data.data32[0] = atom(x.connection, "WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(x.connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        // Wait until the server has handled the request, so it is not lost with the connection.
        std::free(
            xcb_get_input_focus_reply(x.connection, xcb_get_input_focus(x.connection), nullptr));
        return true;
    }
    return false;
}

} // namespace sw::test
