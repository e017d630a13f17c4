#include "desktop/linux/error_trap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace desktop {

struct ErrorTrap::Range {
    Display* display;
    unsigned long first;
    unsigned long last;  // ULONG_MAX while the trap is set
    bool owned;          // by a trap that may still ask Caught
    bool caught;
};

namespace {

std::list<ErrorTrap::Range> stack;  // the innermost last
std::vector<Display*> watched;      // displays that drop their ranges as they close
XErrorHandler next = nullptr;

int Catch(Display* display, XErrorEvent* error) {
    for (auto range = stack.rbegin(); range != stack.rend(); ++range) {
        if (range->display == display && range->first <= error->serial && error->serial <= range->last) {
            range->caught = true;
            return 0;
        }
    }
    return next(display, error);
}

// A display, once closed, may be followed by another at the same address.
// Called as Xlib frees the display, after the last answer has come.
int Forget(XExtData* data) {
    const auto display = reinterpret_cast<Display*>(data->private_data);
    std::erase_if(stack, [&](const ErrorTrap::Range& r) { return r.display == display; });
    std::erase(watched, display);
    return 0;
}

// Without a request or a lock, so that a trap may be set from Xlib's own
// hooks. Xlib frees what it is handed with the display.
void Watch(Display* display) {
    if (std::ranges::count(watched, display) != 0) {
        return;
    }
    auto* const data = static_cast<XExtData*>(std::calloc(1, sizeof(XExtData)));
    if (data != nullptr) {
        data->free_private = Forget;
        data->private_data = reinterpret_cast<XPointer>(display);
        XEDataObject object{};
        object.display = display;
        XAddToExtensionList(XEHeadOfExtensionList(object), data);
        watched.push_back(display);
    }
}

// The handler is set again on every push: GLUT, or anyone, may have put its own in between.
std::list<ErrorTrap::Range>::iterator Push(ErrorTrap::Range range) {
    const XErrorHandler previous = XSetErrorHandler(Catch);
    if (previous != Catch) {
        next = previous;
    }
    // Serials only grow, and the server answers in order: no error can come
    // any more for a range whose last request has had its answer.
    std::erase_if(stack, [&](const ErrorTrap::Range& r) {
        return r.display == range.display && !r.owned && r.last <= LastKnownRequestProcessed(range.display);
    });
    Watch(range.display);
    return stack.insert(stack.end(), range);
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), range_(Push({display, NextRequest(display), ULONG_MAX, true, false})) {}

ErrorTrap::~ErrorTrap() {
    range_->last = NextRequest(display_) - 1;
    range_->owned = false;
    if (range_->last <= LastKnownRequestProcessed(display_)) {
        stack.erase(range_);
    }
}

bool ErrorTrap::Caught() {
    if (LastKnownRequestProcessed(display_) < NextRequest(display_) - 1) {
        XSync(display_, False);
    }
    return range_->caught;
}

void ErrorTrap::IgnoreFrom(Display* display, unsigned long serial) { Push({display, serial, ULONG_MAX, false, false}); }

}  // namespace desktop
