#pragma once

#include <X11/Xlib.h>

#include <array>

namespace desktop {

// Whether a window manager runs, checked as the desktop conventions (EWMH)
// say: the window named by the root's _NET_SUPPORTING_WM_CHECK is there and
// names itself in the same property. One that died leaves the name, and the
// list of what it supports, on the root.
bool WindowManagerRuns(Display* display);

// Whether a window manager runs and lists hint, such as "_NET_ACTIVE_WINDOW",
// among what it supports.
bool WindowManagerSupports(Display* display, const char* hint);

// Asks the window manager to do something for window, as the desktop
// conventions say: a client message of that type, with data, to the root.
void AskWindowManager(Display* display, Window window, const char* type, const std::array<long, 5>& data);

// Removes the root's _NET_SUPPORTING_WM_CHECK when the window it names is
// gone, so that no client asks that window: some, GLUT among them, end at
// the error. A window manager that starts names its own again.
void ForgetDeadWindowManager(Display* display);

}  // namespace desktop
