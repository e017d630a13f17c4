#pragma once

#include <X11/Xlib.h>

#include <list>

namespace desktop {

// Catches the X errors of requests that may fail through no fault of ours:
// those on windows of other clients, or on a window another client may
// destroy, which may be gone by the time the server sees them.
//
// Each display has one stack of traps, keyed by request serial numbers, which
// goes when the display closes: a trap covers the requests made on its
// display from when it is set to when it goes, and an error goes to the
// innermost trap that covers its request, or else to the handler that was
// there before. A trap that goes before the server has answered its last
// request stays on the stack, unowned, until it has: an error that comes
// later is caught all the same, and going never waits for the server.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether a request made since the trap was set has failed. Waits for the
    // server to answer them all, unless it has answered the last already.
    bool Caught();

    // The requests on display from serial on, until the display closes: for
    // a window found destroyed, on which requests made before that was known,
    // and those still to come from code not ours, fail.
    static void IgnoreFrom(Display* display, unsigned long serial);

    struct Range;
    struct Stack;

private:
    Display* display_;
    std::list<Range>::iterator range_;
};

}  // namespace desktop
