#include "desktop/linux/window_manager.h"

#include <X11/Xlib-xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "desktop/linux/window_property.h"

namespace desktop {
namespace {

// In 32-bit items: far more than any list of supported hints.
constexpr std::uint32_t kLongest = 4096;

}  // namespace

bool WindowManagerFacts::Supports(Atom hint) const {
    return runs && std::ranges::count(supported, hint) != 0;
}

WindowManagerQuery::WindowManagerQuery(Display* display)
    : connection_(XGetXCBConnection(display)),
      check_(static_cast<xcb_atom_t>(AtomOf(display, AtomName::NetSupportingWmCheck))),
      named_(AskProperty(connection_, DefaultRootWindow(display), check_, XCB_ATOM_WINDOW, kLongest)),
      supported_(AskProperty(connection_, DefaultRootWindow(display),
                             static_cast<xcb_atom_t>(AtomOf(display, AtomName::NetSupported)), XCB_ATOM_ATOM,
                             kLongest)) {}

WindowManagerFacts WindowManagerQuery::Collect() {
    const std::vector<std::uint32_t> named = PropertyReply<std::uint32_t>(connection_, named_);
    const std::vector<std::uint32_t> supported = PropertyReply<std::uint32_t>(connection_, supported_);
    WindowManagerFacts facts;
    if (named.size() != 1) {
        return facts;
    }
    // Errors come back with the reply: a check window that is gone fails only this request.
    xcb_generic_error_t* error = nullptr;
    const std::vector<std::uint32_t> itself = PropertyReply<std::uint32_t>(
        connection_, AskProperty(connection_, named[0], check_, XCB_ATOM_WINDOW, kLongest), &error);
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

bool WindowManagerSupports(Display* display, AtomName hint) {
    return CurrentWindowManager(display).Supports(AtomOf(display, hint));
}

void AskWindowManager(Display* display, Window window, AtomName type, const std::array<long, 5>& data) {
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = AtomOf(display, type);
    request.xclient.format = 32;
    std::ranges::copy(data, request.xclient.data.l);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
}

void ForgetDeadWindowManager(Display* display) {
    if (!CurrentWindowManager(display).deadCheckNamed) {
        return;
    }
    // Looked at again with the server held, so that no window manager names
    // its check window between the look and the removal.
    XGrabServer(display);
    if (CurrentWindowManager(display).deadCheckNamed) {
        XDeleteProperty(display, DefaultRootWindow(display), AtomOf(display, AtomName::NetSupportingWmCheck));
    }
    XUngrabServer(display);
    XFlush(display);
}

}  // namespace desktop
