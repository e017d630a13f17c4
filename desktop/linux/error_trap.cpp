#include "desktop/linux/error_trap.h"

#include <climits>

#include "desktop/linux/per_display.h"

namespace desktop {

struct ErrorTrap::Range {
    unsigned long first;
    unsigned long last;  // ULONG_MAX while the trap is set
    bool owned;          // by a trap that may still ask Caught
    bool caught;
};

// A display's traps, the innermost last.
struct ErrorTrap::Stack {
    std::list<Range> ranges;
};

namespace {

// Xlib has one error handler for the whole process: the one that was there
// before ours is the process's too, and takes the errors of every display
// that no trap covers.
XErrorHandler previous = nullptr;

int Catch(Display* display, XErrorEvent* error) {
    if (ErrorTrap::Stack* const stack = FindOnDisplay<ErrorTrap::Stack>(display)) {
        for (auto range = stack->ranges.rbegin(); range != stack->ranges.rend(); ++range) {
            if (range->first <= error->serial && error->serial <= range->last) {
                range->caught = true;
                return 0;
            }
        }
    }
    return previous(display, error);
}

// The handler is set again on every push: GLUT, or anyone, may have put its own in between.
std::list<ErrorTrap::Range>::iterator Push(Display* display, ErrorTrap::Range range) {
    const XErrorHandler before = XSetErrorHandler(Catch);
    if (before != Catch) {
        previous = before;
    }
    std::list<ErrorTrap::Range>& ranges = OnDisplay<ErrorTrap::Stack>(display).ranges;
    // Serials only grow, and the server answers in order: no error can come
    // any more for a range whose last request has had its answer.
    std::erase_if(ranges, [&](const ErrorTrap::Range& r) {
        return !r.owned && r.last <= LastKnownRequestProcessed(display);
    });
    return ranges.insert(ranges.end(), range);
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), range_(Push(display, {NextRequest(display), ULONG_MAX, true, false})) {}

ErrorTrap::~ErrorTrap() {
    range_->last = NextRequest(display_) - 1;
    range_->owned = false;
    if (range_->last <= LastKnownRequestProcessed(display_)) {
        FindOnDisplay<Stack>(display_)->ranges.erase(range_);
    }
}

bool ErrorTrap::Caught() {
    if (LastKnownRequestProcessed(display_) < NextRequest(display_) - 1) {
        XSync(display_, False);
    }
    return range_->caught;
}

void ErrorTrap::IgnoreFrom(Display* display, unsigned long serial) {
    Push(display, {serial, ULONG_MAX, false, false});
}

}  // namespace desktop
