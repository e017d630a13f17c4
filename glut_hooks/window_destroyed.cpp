#include "glut_hooks/window_destroyed.h"

#include <X11/Xlibint.h>  // XESetWireToEvent and the wire form of an event

namespace glut_hooks {
namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

Display* glutDisplay = nullptr;
Window glutWindow = 0;
Atom wmProtocols = 0;
Atom wmDeleteWindow = 0;
WireToEvent convertDestroyNotify = nullptr;
XErrorHandler nextErrorHandler = nullptr;
bool windowGone = false;

// GLUT ignores the notice that its window was destroyed and would idle on
// without one. As the notice is read off the connection it becomes the window
// system's close request, which GLUT acts on: one way to end, whoever closed it.
Bool TurnIntoCloseRequest(Display* display, XEvent* event, xEvent* wire) {
    const Bool keep = convertDestroyNotify(display, event, wire);
    if (keep == False || display != glutDisplay || event->xdestroywindow.window != glutWindow) {
        return keep;
    }
    windowGone = true;
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.serial = event->xany.serial;
    close.xclient.display = display;
    close.xclient.window = glutWindow;
    close.xclient.message_type = wmProtocols;
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(wmDeleteWindow);
    close.xclient.data.l[1] = CurrentTime;
    *event = close;
    return True;
}

// Requests made on the window before its end was read, and GLUT's clean-up at
// exit, which destroys it again, fail once it is gone: nothing is lost.
int IgnoreErrorsOnGoneWindow(Display* display, XErrorEvent* error) {
    if (windowGone && display == glutDisplay && error->resourceid == glutWindow) {
        return 0;
    }
    return nextErrorHandler(display, error);
}

}  // namespace

void CloseWhenDestroyed(Display* display, Window window) {
    glutDisplay = display;
    glutWindow = window;
    wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    convertDestroyNotify = XESetWireToEvent(display, DestroyNotify, TurnIntoCloseRequest);
    nextErrorHandler = XSetErrorHandler(IgnoreErrorsOnGoneWindow);
}

}  // namespace glut_hooks
