#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <array>
#include <vector>

#include "desktop/linux/atoms.h"

namespace desktop {

// Whether a window manager runs, checked as the desktop conventions (EWMH)
// say: the window named by the root's _NET_SUPPORTING_WM_CHECK is there and
// names itself in the same property. One that died leaves the name, and the
// list of what it supports, on the root.
struct WindowManagerFacts {
    bool runs = false;
    bool deadCheckNamed = false;  // the root names a check window that is gone
    std::vector<Atom> supported;  // what it lists in _NET_SUPPORTED, where it runs

    bool Supports(Atom hint) const;
};

// The check, asked beside whatever else the caller asks at the same time:
// made, it sends its requests for the root; Collect waits for their answers
// and, where a check window is named, asks that window in a round trip of
// its own. Collect once.
class WindowManagerQuery {
public:
    explicit WindowManagerQuery(Display* display);
    WindowManagerFacts Collect();

private:
    xcb_connection_t* connection_;
    xcb_atom_t check_;
    xcb_get_property_cookie_t named_;
    xcb_get_property_cookie_t supported_;
};

// The check on its own.
WindowManagerFacts CurrentWindowManager(Display* display);
bool WindowManagerRuns(Display* display);

// Whether a window manager runs and lists hint, such as _NET_ACTIVE_WINDOW,
// among what it supports.
bool WindowManagerSupports(Display* display, AtomName hint);

// Asks the window manager to do something for window, as the desktop
// conventions say: a client message of that type, with data, to the root.
void AskWindowManager(Display* display, Window window, AtomName type, const std::array<long, 5>& data);

// Removes the root's _NET_SUPPORTING_WM_CHECK when the window it names is
// gone, so that no client asks that window: some, GLUT among them, end at
// the error. A window manager that starts names its own again. The server is
// held only where the window looks gone, for a second look and the removal.
void ForgetDeadWindowManager(Display* display);

}  // namespace desktop
