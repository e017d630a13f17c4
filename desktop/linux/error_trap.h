#pragma once

#include <X11/Xlib.h>

#include <list>

namespace desktop {

// Swallows the X errors of requests that may fail through no fault of ours:
// those on windows of other clients, or on a window another client may
// destroy, which may be gone by the time the server sees them.
//
// A trap covers the requests made on its display from when it is set to when
// it goes, including those whose errors come only after it went: going never
// waits for the server. An error that no trap covers goes to the handler that
// was there before. Each display keeps the ranges its traps cover, until the
// server has answered their last requests or the display closes.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // The requests on display from serial on, until the display closes: for
    // a window found destroyed, on which requests made before that was known,
    // and those still to come from code not ours, fail.
    static void IgnoreFrom(Display* display, unsigned long serial);

    struct Range;
    struct Ranges;

private:
    Display* display_;
    std::list<Range>::iterator range_;
};

}  // namespace desktop
