#pragma once

#include <X11/Xlib.h>

#include <span>

namespace desktop {

// Every atom the desktop code uses, and the only ones it can ask for: each
// display interns them all at once, into a table of its own.
enum class AtomName : int {
    Utf8String,
    WmDeleteWindow,
    WmProtocols,
    NetActiveWindow,
    NetFrameExtents,
    NetSupported,
    NetSupportingWmCheck,
    NetWmIcon,
    NetWmName,
    NetWmPid,
    NetWmState,
    NetWmStateFullscreen,
    NetWmStateModal,
    NetWmWindowType,
    NetWmWindowTypeDialog,
};

// The atom on display. The first call on a display interns the whole list,
// in one round trip: not from within Xlib's hooks, where the display is
// locked. InternAtoms makes the table sooner.
Atom AtomOf(Display* display, AtomName name);

// Interns the list, and the names in more, in one round trip: call once, on
// a connection just opened that may be slow. Xlib keeps interned atoms for
// the connection's life, so that XInternAtom of the names in more, by other
// code on the same connection, asks the server nothing afterwards.
void InternAtoms(Display* display, std::span<const char* const> more = {});

}  // namespace desktop
