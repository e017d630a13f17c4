#include "desktop/window_manager.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

#include "desktop/error_trap.h"
#include "desktop/window_property.h"

namespace desktop {
namespace {

constexpr const char* kCheck = "_NET_SUPPORTING_WM_CHECK";

std::vector<long> CheckNamedBy(Display* display, Window window) {
    return PropertyItems(display, window, kCheck, XA_WINDOW);
}

bool Exists(Display* display, Window window) {
    ErrorTrap trap(display);
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0;
}

}  // namespace

bool WindowManagerRuns(Display* display) {
    const std::vector<long> named = CheckNamedBy(display, DefaultRootWindow(display));
    if (named.size() != 1) {
        return false;
    }
    ErrorTrap trap(display);
    return CheckNamedBy(display, static_cast<Window>(named[0])) == named && !trap.Caught();
}

bool WindowManagerSupports(Display* display, const char* hint) {
    return WindowManagerRuns(display) &&
           std::ranges::count(PropertyItems(display, DefaultRootWindow(display), "_NET_SUPPORTED", XA_ATOM),
                              static_cast<long>(XInternAtom(display, hint, False))) != 0;
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
    // Held so that no window manager names its check window between the look and the removal.
    XGrabServer(display);
    const Window root = DefaultRootWindow(display);
    const std::vector<long> named = CheckNamedBy(display, root);
    if (!named.empty() && !Exists(display, static_cast<Window>(named[0]))) {
        XDeleteProperty(display, root, XInternAtom(display, kCheck, False));
    }
    XUngrabServer(display);
    XSync(display, False);
}

}  // namespace desktop
