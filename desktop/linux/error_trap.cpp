#include "desktop/linux/error_trap.h"

#include <algorithm>
#include <climits>

#include "desktop/linux/per_display.h"

namespace desktop {

struct ErrorTrap::Range {
    unsigned long first;
    unsigned long last;  // ULONG_MAX while the trap is set
};

// A display's ranges.
struct ErrorTrap::Ranges {
    std::list<Range> covered;
};

namespace {

// Xlib has one error handler for the whole process: the one that was there
// before ours is the process's too, and takes the errors of every display
// that no trap covers.
XErrorHandler previous = nullptr;

int Catch(Display* display, XErrorEvent* error) {
    const ErrorTrap::Ranges* const ranges = FindOnDisplay<ErrorTrap::Ranges>(display);
    if (ranges != nullptr && std::ranges::any_of(ranges->covered, [&](const ErrorTrap::Range& range) {
            return range.first <= error->serial && error->serial <= range.last;
        })) {
        return 0;
    }
    return previous(display, error);
}

// The handler is set again on every push: GLUT, or anyone, may have put its own in between.
std::list<ErrorTrap::Range>::iterator Push(Display* display, ErrorTrap::Range range) {
    const XErrorHandler before = XSetErrorHandler(Catch);
    if (before != Catch) {
        previous = before;
    }
    std::list<ErrorTrap::Range>& covered = OnDisplay<ErrorTrap::Ranges>(display).covered;
    // Serials only grow, and the server answers in order: no error can come
    // any more for a range whose last request has had its answer.
    std::erase_if(covered, [&](const ErrorTrap::Range& r) { return r.last <= LastKnownRequestProcessed(display); });
    return covered.insert(covered.end(), range);
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), range_(Push(display, {NextRequest(display), ULONG_MAX})) {}

ErrorTrap::~ErrorTrap() {
    range_->last = NextRequest(display_) - 1;
    if (range_->last <= LastKnownRequestProcessed(display_)) {
        FindOnDisplay<Ranges>(display_)->covered.erase(range_);
    }
}

void ErrorTrap::IgnoreFrom(Display* display, unsigned long serial) {
    Push(display, {serial, ULONG_MAX});
}

}  // namespace desktop
