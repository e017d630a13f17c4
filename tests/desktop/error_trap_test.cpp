// Which X errors a trap takes, and when it waits for the server.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include "desktop/linux/error_trap.h"

namespace {

using desktop::ErrorTrap;

// Errors that reach the handler set before any trap, by request serial.
std::vector<unsigned long> untrapped;

class ErrorTrapTest : public DesktopTest {
protected:
    void SetUp() override {
        untrapped.clear();
        XSetErrorHandler([](Display*, XErrorEvent* error) {
            untrapped.push_back(error->serial);
            return 0;
        });
    }

    // A request that fails, with no reply to wait for; its serial.
    unsigned long Fail(Display* on) const {
        const unsigned long serial = NextRequest(on);
        XMapWindow(on, kNoWindow);
        return serial;
    }

    static constexpr Window kNoWindow = 0x3FFFFF;
};

// A trap covers the requests made while it is set, even when their errors
// come after it went, and going does not wait for them. IgnoreFrom covers all
// from a serial on.
TEST_F(ErrorTrapTest, CoversItsRequestsWhoseErrorsComeLate) {
    const unsigned long before = Fail(display);
    std::optional<ErrorTrap> trap(std::in_place, display);
    Fail(display);
    trap.reset();
    EXPECT_EQ(NextRequest(display), before + 2) << "the trap waited for the server";
    const unsigned long after = Fail(display);
    XSync(display, False);
    EXPECT_EQ(untrapped, (std::vector{before, after}));
    const unsigned long notYet = Fail(display);
    ErrorTrap::IgnoreFrom(display, notYet + 1);
    Fail(display);
    XSync(display, False);
    EXPECT_EQ(untrapped, (std::vector{before, after, notYet}));
}

// Caught waits for the server only while a request has no answer yet; the
// innermost trap takes an error, and one on another display is not for it.
TEST_F(ErrorTrapTest, CaughtWaitsOnlyWhenItMustAndTheInnermostTakesTheError) {
    ErrorTrap outer(display);
    XWindowAttributes attributes;
    {
        ErrorTrap inner(display);
        EXPECT_FALSE(inner.Caught());
        EXPECT_EQ(XGetWindowAttributes(display, kNoWindow, &attributes), 0);
        const unsigned long next = NextRequest(display);
        EXPECT_TRUE(inner.Caught());
        EXPECT_EQ(NextRequest(display), next) << "the answer was in, yet Caught waited";
    }
    EXPECT_FALSE(outer.Caught());
    const unsigned long elsewhere = Fail(x.Raw());
    Fail(display);
    EXPECT_TRUE(outer.Caught());
    XSync(x.Raw(), False);
    EXPECT_EQ(untrapped, std::vector{elsewhere});
}

}  // namespace
