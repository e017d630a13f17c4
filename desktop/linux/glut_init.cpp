#include "desktop/linux/glut_init.h"

#include <GL/glut.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xinerama.h>

#include "desktop/linux/atoms.h"
#include "desktop/linux/window_manager.h"
#include "desktop/viewer_desktop.h"

namespace desktop {
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

void ReadyGlutConnection(Display* display) {
    if (!initialising) {
        return;
    }
    InternAtoms(display, kGlutAtoms);
    // Answered with whatever is asked next: the monitors are asked for later
    // without first waiting to learn whether they can be.
    xcb_prefetch_extension_data(XGetXCBConnection(display), &xcb_xinerama_id);
    ForgetDeadWindowManager(display);
}

}  // namespace desktop
