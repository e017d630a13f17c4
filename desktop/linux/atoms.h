#pragma once

#include <X11/Xlib.h>

#include <span>

namespace desktop {

// Interns every atom the desktop code names, and the names in more, in one
// round trip, and asks in the same one whether the server has Xinerama.
// Xlib keeps interned atoms for the connection's life, so that XInternAtom
// of any of them asks the server nothing afterwards: call once, early, on a
// connection that may be slow.
void InternAtoms(Display* display, std::span<const char* const> more = {});

}  // namespace desktop
