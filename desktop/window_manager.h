#pragma once

#include <X11/Xlib.h>

namespace desktop {

// Whether a window manager runs that follows the desktop conventions (EWMH)
// and lists hint, such as "_NET_ACTIVE_WINDOW", among what it supports.
bool WindowManagerSupports(Display* display, const char* hint);

}  // namespace desktop
