// No scene.h here: Xlib defines a type named Display.
#include "app/window_manager.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <span>

namespace {

// The root window's property of that name and type in 32-bit items; empty when it has none.
class RootProperty {
public:
    RootProperty(::Display* display, const char* name, Atom type) {
        Atom actualType = 0;
        int format = 0;
        unsigned long remaining = 0;
        XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 1024, False,
                           type, &actualType, &format, &count_, &remaining, &data_);
        if (actualType != type || format != 32) {
            count_ = 0;
        }
    }
    ~RootProperty() {
        if (data_ != nullptr) {
            XFree(data_);
        }
    }
    RootProperty(const RootProperty&) = delete;
    RootProperty& operator=(const RootProperty&) = delete;

    // Xlib hands format 32 items over as longs.
    std::span<const long> Items() const { return {reinterpret_cast<const long*>(data_), count_}; }

private:
    unsigned char* data_ = nullptr;
    unsigned long count_ = 0;
};

}  // namespace

bool WindowManagerSupports(_XDisplay* display, const char* hint) {
    // A window manager that went away may leave both behind. Asking its check
    // window whether it is still there would end in an X error if it is not,
    // so the two are taken as they stand.
    if (RootProperty(display, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).Items().empty()) {
        return false;
    }
    const RootProperty supported(display, "_NET_SUPPORTED", XA_ATOM);
    return std::ranges::count(supported.Items(), static_cast<long>(XInternAtom(display, hint, False))) != 0;
}

bool WindowManagerDoesFullScreen() {
    return WindowManagerSupports(glXGetCurrentDisplay(), "_NET_WM_STATE_FULLSCREEN");
}
