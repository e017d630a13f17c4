#include "desktop/linux/window_facts.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xinerama.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "desktop/linux/window_property.h"

namespace desktop {
namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// A reply, or null where the request failed (its error is dropped).
template <typename Reply, typename Cookie>
Owned<Reply> Take(xcb_connection_t* connection, Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                  Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    Owned<Reply> taken(reply(connection, cookie, &error), std::free);
    std::free(error);
    return taken;
}

// Xinerama's monitors, asked for where the server has it: known from the
// first call on, and on GLUT's connection, which asked as it was made ready
// (ReadyGlutConnection), without a round trip of its own.
struct MonitorCookies {
    bool asked = false;
    xcb_xinerama_is_active_cookie_t active{};
    xcb_xinerama_query_screens_cookie_t screens{};
};

MonitorCookies AskMonitors(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* xinerama = xcb_get_extension_data(connection, &xcb_xinerama_id);
    if (xinerama == nullptr || xinerama->present == 0) {
        return {};
    }
    return {true, xcb_xinerama_is_active(connection), xcb_xinerama_query_screens(connection)};
}

std::vector<Rect> TakeMonitors(Display* display, xcb_connection_t* connection, const MonitorCookies& cookies) {
    std::vector<Rect> monitors;
    if (cookies.asked) {
        const auto active = Take(connection, xcb_xinerama_is_active_reply, cookies.active);
        const auto screens = Take(connection, xcb_xinerama_query_screens_reply, cookies.screens);
        if (active && active->state != 0 && screens) {
            const xcb_xinerama_screen_info_t* heads = xcb_xinerama_query_screens_screen_info(screens.get());
            for (int i = 0; i < xcb_xinerama_query_screens_screen_info_length(screens.get()); ++i) {
                monitors.push_back({heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height});
            }
        }
    }
    if (monitors.empty()) {
        const int screen = DefaultScreen(display);
        monitors.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    }
    return monitors;
}

// The root's child that holds window, border and all: the window manager's
// frame, or the window itself where none runs.
std::optional<Rect> TopLevel(xcb_connection_t* connection, xcb_window_t window) {
    for (;;) {
        const auto tree = Take(connection, xcb_query_tree_reply, xcb_query_tree(connection, window));
        if (!tree) {
            return std::nullopt;
        }
        if (tree->parent == tree->root) {
            break;
        }
        window = tree->parent;
    }
    const auto geometry = Take(connection, xcb_get_geometry_reply, xcb_get_geometry(connection, window));
    if (!geometry) {
        return std::nullopt;
    }
    return Rect{geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                geometry->height + 2 * geometry->border_width};
}

}  // namespace

bool WindowFacts::InState(Atom atom) const {
    return std::ranges::count(state, atom) != 0;
}

std::optional<WindowFacts> AskAbout(Display* display, Window window, bool withManager) {
    xcb_connection_t* const connection = XGetXCBConnection(display);
    const xcb_window_t root = DefaultRootWindow(display);
    const auto atom = [display](AtomName name) { return static_cast<xcb_atom_t>(AtomOf(display, name)); };
    std::optional<WindowManagerQuery> manager;
    if (withManager) {
        manager.emplace(display);
    }
    const auto geometryCookie = xcb_get_geometry(connection, window);
    const auto placeCookie = xcb_translate_coordinates(connection, window, root, 0, 0);
    const auto treeCookie = xcb_query_tree(connection, window);
    const auto stateCookie = AskProperty(connection, window, atom(AtomName::NetWmState), XCB_ATOM_ATOM, 1024);
    const auto extentsCookie = AskProperty(connection, window, atom(AtomName::NetFrameExtents), XCB_ATOM_CARDINAL, 4);
    const MonitorCookies monitorCookies = AskMonitors(connection);

    WindowFacts facts;
    if (manager) {
        facts.manager = manager->Collect();
    }
    const auto geometry = Take(connection, xcb_get_geometry_reply, geometryCookie);
    const auto place = Take(connection, xcb_translate_coordinates_reply, placeCookie);
    const auto tree = Take(connection, xcb_query_tree_reply, treeCookie);
    const std::vector<std::uint32_t> state = PropertyReply<std::uint32_t>(connection, stateCookie);
    const std::vector<std::uint32_t> extents = PropertyReply<std::uint32_t>(connection, extentsCookie);
    facts.monitors = TakeMonitors(display, connection, monitorCookies);
    if (!geometry || !place || !tree) {
        return std::nullopt;
    }
    facts.inside = {place->dst_x, place->dst_y, geometry->width, geometry->height};
    facts.state.assign(state.begin(), state.end());
    if (tree->parent == root) {
        facts.frame = {geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                       geometry->height + 2 * geometry->border_width};
    } else if (extents.size() == 4) {
        // Left, right, top and bottom, as the window manager says it adds them.
        const auto [left, right, top, bottom] = std::array{static_cast<int>(extents[0]), static_cast<int>(extents[1]),
                                                           static_cast<int>(extents[2]), static_cast<int>(extents[3])};
        facts.frame = {facts.inside.x - left, facts.inside.y - top, facts.inside.width + left + right,
                       facts.inside.height + top + bottom};
    }
    return facts;
}

std::optional<Rect> Frame(Display* display, Window window, const WindowFacts& facts) {
    return facts.frame ? facts.frame : TopLevel(XGetXCBConnection(display), window);
}

}  // namespace desktop
