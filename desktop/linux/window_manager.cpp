#include "desktop/linux/window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "desktop/linux/error_trap.h"
#include "desktop/linux/window_property.h"

namespace desktop {
namespace {

constexpr const char* kCheck = "_NET_SUPPORTING_WM_CHECK";
// In 32-bit items: far more than any list of supported hints.
constexpr std::uint32_t kLongest = 4096;

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                      xcb_atom_t type) {
    return xcb_get_property(connection, 0, window, name, type, 0, kLongest);
}

}  // namespace

std::vector<std::uint32_t> PropertyReply(xcb_connection_t* connection, xcb_get_property_cookie_t cookie,
                                         xcb_generic_error_t** error) {
    xcb_generic_error_t* failed = nullptr;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, &failed), std::free);
    if (error != nullptr) {
        *error = failed;
    } else {
        std::free(failed);
    }
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {items, items + xcb_get_property_value_length(reply.get()) / 4};
}

bool WindowManagerFacts::Supports(Atom hint) const {
    return runs && std::ranges::count(supported, hint) != 0;
}

WindowManagerQuery::WindowManagerQuery(Display* display)
    : connection_(XGetXCBConnection(display)),
      check_(static_cast<xcb_atom_t>(XInternAtom(display, kCheck, False))),
      named_(AskProperty(connection_, DefaultRootWindow(display), check_, XCB_ATOM_WINDOW)),
      supported_(AskProperty(connection_, DefaultRootWindow(display),
                             static_cast<xcb_atom_t>(XInternAtom(display, "_NET_SUPPORTED", False)),
                             XCB_ATOM_ATOM)) {}

WindowManagerFacts WindowManagerQuery::Collect() {
    const std::vector<std::uint32_t> named = PropertyReply(connection_, named_);
    const std::vector<std::uint32_t> supported = PropertyReply(connection_, supported_);
    WindowManagerFacts facts;
    if (named.size() != 1) {
        return facts;
    }
    // Errors come back with the reply: a check window that is gone fails only this request.
    xcb_generic_error_t* error = nullptr;
    const std::vector<std::uint32_t> itself =
        PropertyReply(connection_, AskProperty(connection_, named[0], check_, XCB_ATOM_WINDOW), &error);
    facts.deadCheckNamed = error != nullptr && error->error_code == XCB_WINDOW;
    std::free(error);
    facts.runs = itself == named;
    if (facts.runs) {
        facts.supported.assign(supported.begin(), supported.end());
    }
    return facts;
}

WindowManagerFacts CurrentWindowManager(Display* display) {
    return WindowManagerQuery(display).Collect();
}

bool WindowManagerRuns(Display* display) {
    return CurrentWindowManager(display).runs;
}

bool WindowManagerSupports(Display* display, const char* hint) {
    return CurrentWindowManager(display).Supports(XInternAtom(display, hint, False));
}

void AskWindowManager(Display* display, Window window, const char* type, const std::array<long, 5>& data) {
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = XInternAtom(display, type, False);
    request.xclient.format = 32;
    std::ranges::copy(data, request.xclient.data.l);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
}

void ForgetDeadWindowManager(Display* display) {
    if (!CurrentWindowManager(display).deadCheckNamed) {
        return;
    }
    // Held so that no window manager names its check window between the look and the removal.
    XGrabServer(display);
    const Window root = DefaultRootWindow(display);
    const std::vector<long> named = PropertyItems(display, root, kCheck, XA_WINDOW);
    if (named.size() == 1) {
        ErrorTrap trap(display);
        PropertyItems(display, static_cast<Window>(named[0]), kCheck, XA_WINDOW);
        if (trap.Caught()) {
            XDeleteProperty(display, root, XInternAtom(display, kCheck, False));
        }
    }
    XUngrabServer(display);
    XFlush(display);
}

}  // namespace desktop
