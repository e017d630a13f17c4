// Which X errors a trap takes, and that it never waits for the server.
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
    static unsigned long Fail(Display* on) {
        const unsigned long serial = NextRequest(on);
        XMapWindow(on, 0x3FFFFF);
        return serial;
    }
};

// Traps, nested or not, cover the requests made on their display while they
// are set, even when the errors come after they went, and going does not
// wait for them. Another display's errors are not theirs. IgnoreFrom covers
// every request from a serial on.
TEST_F(ErrorTrapTest, CoverTheirDisplaysRequestsWhoseErrorsComeLate) {
    const unsigned long before = Fail(display);
    std::optional<ErrorTrap> outer(std::in_place, display);
    std::optional<ErrorTrap> inner(std::in_place, display);
    Fail(display);
    inner.reset();
    Fail(display);
    const unsigned long elsewhere = Fail(x.Raw());
    outer.reset();
    EXPECT_EQ(NextRequest(display), before + 3) << "a trap waited for the server";
    const unsigned long after = Fail(display);
    XSync(display, False);
    XSync(x.Raw(), False);
    EXPECT_EQ(untrapped, (std::vector{before, after, elsewhere}));

    const unsigned long notYet = Fail(display);
    ErrorTrap::IgnoreFrom(display, notYet + 1);
    Fail(display);
    XSync(display, False);
    EXPECT_EQ(untrapped, (std::vector{before, after, elsewhere, notYet}));
}

}  // namespace
