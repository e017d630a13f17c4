#include "desktop/linux/window_close.h"

#include "desktop/linux/atoms.h"
#include "desktop/linux/error_trap.h"
#include "desktop/linux/per_display.h"

// Last: its min and max macros break the standard headers.
#include <X11/Xlibint.h>  // XESetWireToEvent and the wire form of an event

namespace desktop {
namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

// What the display's hook needs: Xlib's hooks get no data of their own.
struct Closing {
    Window window;
    Atom protocols;
    Atom deleteWindow;
    WireToEvent convertDestroyNotify;  // the hook before ours
};

// As the notice is read off the connection.
Bool TurnIntoCloseRequest(Display* display, XEvent* event, xEvent* wire) {
    const Closing& closing = *FindOnDisplay<Closing>(display);
    const Bool keep = closing.convertDestroyNotify(display, event, wire);
    if (keep == False || event->xdestroywindow.window != closing.window) {
        return keep;
    }
    // Requests on the window made since the server destroyed it fail, and so
    // does GLUT's clean-up at exit, which destroys it again: ignored until the
    // display closes, as nothing is lost.
    ErrorTrap::IgnoreFrom(display, event->xany.serial + 1);
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.serial = event->xany.serial;
    close.xclient.display = display;
    close.xclient.window = closing.window;
    close.xclient.message_type = closing.protocols;
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(closing.deleteWindow);
    close.xclient.data.l[1] = CurrentTime;
    *event = close;
    return True;
}

}  // namespace

void CloseWhenDestroyed(const DesktopWindow& window) {
    if (window.display == nullptr) {
        return;
    }
    Closing& closing = OnDisplay<Closing>(window.display);
    closing = {window.window, AtomOf(window.display, AtomName::WmProtocols),
               AtomOf(window.display, AtomName::WmDeleteWindow), nullptr};
    closing.convertDestroyNotify = XESetWireToEvent(window.display, DestroyNotify, TurnIntoCloseRequest);
}

}  // namespace desktop
