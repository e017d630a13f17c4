#include "desktop/linux/window_close.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "desktop/linux/atoms.h"
#include "desktop/linux/error_trap.h"

// Last: its min and max macros break the standard headers.
#include <X11/Xlibint.h>  // XESetWireToEvent and the wire form of an event

namespace desktop {
namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

DesktopWindow glutWindow;
Atom wmProtocols = 0;
Atom wmDeleteWindow = 0;
WireToEvent convertDestroyNotify = nullptr;
bool exiting = false;

// GLUT ignores the notice that its window was destroyed and would idle on
// without one. As the notice is read off the connection it becomes the window
// system's close request, which GLUT acts on: one way to end, whoever closed it.
Bool TurnIntoCloseRequest(Display* display, XEvent* event, xEvent* wire) {
    const Bool keep = convertDestroyNotify(display, event, wire);
    if (keep == False || display != glutWindow.display || event->xdestroywindow.window != glutWindow.window) {
        return keep;
    }
    // Requests on the window made since the server destroyed it, and GLUT's
    // clean-up at exit, which destroys it again, fail: nothing is lost.
    desktop::ErrorTrap::IgnoreFrom(display, event->xany.serial + 1);
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.serial = event->xany.serial;
    close.xclient.display = display;
    close.xclient.window = glutWindow.window;
    close.xclient.message_type = wmProtocols;
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(wmDeleteWindow);
    close.xclient.data.l[1] = CurrentTime;
    *event = close;
    return True;
}

}  // namespace

void ExitWhenClosed(const DesktopWindow& window) {
    // Left to itself, GLUT closes the display before it exits when the window
    // is closed; exit first instead, with the status GLUT would give. GLUT's
    // clean-up at exit calls the close callback again, when it must not exit:
    // exit handlers run last-registered first, so this one runs before GLUT's.
    std::atexit([] { exiting = true; });
    glutCloseFunc([] {
        if (!exiting) {
            std::exit(EXIT_SUCCESS);
        }
    });
    if (window.display == nullptr) {
        return;
    }
    glutWindow = window;
    wmProtocols = AtomOf(window.display, AtomName::WmProtocols);
    wmDeleteWindow = AtomOf(window.display, AtomName::WmDeleteWindow);
    convertDestroyNotify = XESetWireToEvent(window.display, DestroyNotify, TurnIntoCloseRequest);
}

}  // namespace desktop
