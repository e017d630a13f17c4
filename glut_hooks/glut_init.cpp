#include "glut_hooks/glut_init.h"

#include <GL/glut.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>

#include "desktop/atoms.h"
#include "desktop/window_manager.h"

namespace glut_hooks {
namespace {

// Set while glutInit runs: the connection opened then is GLUT's.
bool initialising = false;

// The atoms GLUT and Xlib's calls for it intern beside the desktop code's.
constexpr const char* kGlutAtoms[] = {"_MOTIF_WM_HINTS", "WM_CLIENT_MACHINE", "WM_LOCALE_NAME"};

}  // namespace

void InitGlut(int* argc, char** argv) {
    initialising = true;
    glutInit(argc, argv);
    initialising = false;
}

}  // namespace glut_hooks

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
    if (display != nullptr && glut_hooks::initialising) {
        desktop::InternAtoms(display, glut_hooks::kGlutAtoms);
        desktop::ForgetDeadWindowManager(display);
    }
    return display;
}
