#include "desktop/viewer_desktop.h"

#include <GL/glut.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <xcb/xinerama.h>

#include <cstdio>

#include "desktop/linux/atoms.h"
#include "desktop/linux/window_manager.h"

namespace desktop {
namespace {

// Set while glutInit runs: the connection opened then is GLUT's.
bool initialising = false;

// The atoms GLUT and Xlib's calls for it intern beside the desktop code's.
constexpr const char* kGlutAtoms[] = {"_MOTIF_WM_HINTS", "WM_CLIENT_MACHINE", "WM_LOCALE_NAME"};

}  // namespace

// Every atom GLUT and the desktop code ask for is interned in one round trip
// as GLUT opens its connection, and a dead window manager's check window,
// which GLUT would ask whether it is there and take the error as fatal, is
// forgotten.
void InitGlut(int* argc, char** argv) {
    initialising = true;
    glutInit(argc, argv);
    initialising = false;
}

}  // namespace desktop

// GLUT opens its connection and asks the window manager's check window at
// once, in one call: what must come first comes here, as it does for
// XSetWMProperties (see window_properties.cpp).
extern "C" Display* XOpenDisplay(const char* name) {
    static const auto xlibOpenDisplay = [] {
        const auto found = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(RTLD_NEXT, "XOpenDisplay"));
        if (found == nullptr) {
            std::fputs("image-border: Xlib's XOpenDisplay was not found\n", stderr);
        }
        return found;
    }();
    Display* const display = xlibOpenDisplay != nullptr ? xlibOpenDisplay(name) : nullptr;
    if (display != nullptr && desktop::initialising) {
        desktop::InternAtoms(display, desktop::kGlutAtoms);
        // Answered with whatever is asked next: the monitors are asked for
        // later without first waiting to learn whether they can be.
        xcb_prefetch_extension_data(XGetXCBConnection(display), &xcb_xinerama_id);
        desktop::ForgetDeadWindowManager(display);
    }
    return display;
}
