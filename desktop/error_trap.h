#pragma once

#include <X11/Xlib.h>

namespace desktop {

// Catches the X errors of the requests made on display while it lives: those
// on windows of other clients, which may be gone by the time the server sees
// them, as toolkits do. Errors of earlier requests, and on other displays, go
// to the handler that was there before. A trap set inside another catches
// its own requests' errors.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether a request made since the trap was set has failed so far: waits
    // for the server to answer them all.
    bool Caught();

private:
    static int Catch(Display* display, XErrorEvent* error);

    Display* display_;
    unsigned long firstSerial_;
    ErrorTrap* outer_;
    XErrorHandler previous_;
    bool caught_ = false;
};

}  // namespace desktop
