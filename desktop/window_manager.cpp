#include "desktop/window_manager.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

namespace desktop {
namespace {

// The root window's property of that name and type as 32-bit items, which
// Xlib hands over as longs; empty when it has none of that type.
std::vector<long> RootItems(Display* display, const char* name, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 1024, False, type,
                       &actualType, &format, &count, &remaining, &data);
    std::vector<long> items;
    if (actualType == type && format == 32) {
        items.assign(reinterpret_cast<const long*>(data), reinterpret_cast<const long*>(data) + count);
    }
    XFree(data);
    return items;
}

}  // namespace

bool WindowManagerSupports(Display* display, const char* hint) {
    // A window manager that went away may leave both behind. Asking its check
    // window whether it is still there would end in an X error if it is not,
    // so the two are taken as they stand.
    if (RootItems(display, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty()) {
        return false;
    }
    return std::ranges::count(RootItems(display, "_NET_SUPPORTED", XA_ATOM),
                              static_cast<long>(XInternAtom(display, hint, False))) != 0;
}

}  // namespace desktop
