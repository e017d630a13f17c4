#include "desktop/error_trap.h"

namespace desktop {
namespace {

ErrorTrap* innermost = nullptr;

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), firstSerial_(NextRequest(display)), outer_(innermost), previous_(XSetErrorHandler(Catch)) {
    innermost = this;
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    innermost = outer_;
    XSetErrorHandler(previous_);
}

bool ErrorTrap::Caught() {
    XSync(display_, False);
    return caught_;
}

int ErrorTrap::Catch(Display* display, XErrorEvent* error) {
    for (ErrorTrap* trap = innermost;; trap = trap->outer_) {
        if (display == trap->display_ && error->serial >= trap->firstSerial_) {
            trap->caught_ = true;
            return 0;
        }
        if (trap->outer_ == nullptr) {
            return trap->previous_(display, error);
        }
    }
}

}  // namespace desktop
