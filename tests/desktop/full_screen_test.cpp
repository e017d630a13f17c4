// The frame kept on its monitor, and whether a window manager runs.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include <X11/Xatom.h>

#include "desktop/full_screen.h"
#include "desktop/window_manager.h"

namespace {

using FullScreenTest = DesktopTest;

// A window partly off the screen, or wider than it, is moved as little as
// it takes to lie on it, border and all, once it has the size asked for.
TEST_F(FullScreenTest, FrameIsKeptWholeOnItsMonitor) {
    constexpr int kBorder = 3, kWidth = 700, kHeight = 500;
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    const struct { int x, y, width; std::array<int, 2> to; } cases[] = {
        {-50, -40, kWidth, {0, 0}},
        {1000, 800, kWidth, {screen[2] - kWidth - 2 * kBorder, screen[3] - kHeight - 2 * kBorder}},
        {100, 90, kWidth, {100, 90}},
        {300, 10, screen[2] + 10, {0, 10}},
    };
    for (const auto& c : cases) {
        const Window window = XCreateSimpleWindow(display, x.Root(), c.x, c.y, c.width, kHeight, kBorder, 0, 0);
        desktop::FullScreen fullScreen(display, window);
        EXPECT_FALSE(fullScreen.KeepFrameOnScreen(c.width, kHeight + 1)) << "not the size asked for yet";
        EXPECT_TRUE(fullScreen.KeepFrameOnScreen(c.width, kHeight));
        XSync(display, False);
        EXPECT_EQ(x.Geometry(window), (std::array{c.to[0] + kBorder, c.to[1] + kBorder, c.width, kHeight})) << c.x;
    }
}

// A window manager runs while the root names a check window that names
// itself. One that names nothing, or another window, is a leftover, and the
// window goes full screen by itself; it is forgotten once its window is gone.
TEST_F(FullScreenTest, OnlyACheckWindowThatNamesItselfIsAWindowManager) {
    const Window check = XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 1, 1, 0, 0, 0);
    const auto set = [&](Window on, const char* name, Atom type, long value) {
        XChangeProperty(x.Raw(), on, XInternAtom(x.Raw(), name, False), type, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(x.Raw(), False);
    };
    set(x.Root(), "_NET_SUPPORTED", XA_ATOM, x.Intern("_NET_WM_STATE_FULLSCREEN"));
    set(x.Root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    const Window window = MapWindow(display, {100, 80, 400, 300});
    desktop::FullScreen(display, window).Enter();
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), x.Geometry(x.Root()));
    set(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(x.Root()));
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    set(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    EXPECT_TRUE(desktop::WindowManagerSupports(display, "_NET_WM_STATE_FULLSCREEN"));
    EXPECT_FALSE(desktop::WindowManagerSupports(display, "_NET_ACTIVE_WINDOW"));

    desktop::ForgetDeadWindowManager(display);
    EXPECT_TRUE(desktop::WindowManagerRuns(display));
    x.Destroy(check);
    desktop::ForgetDeadWindowManager(display);
    EXPECT_EQ(x.Property(x.Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW"), std::vector<long>{});
    XDeleteProperty(x.Raw(), x.Root(), XInternAtom(x.Raw(), "_NET_SUPPORTED", False));
}

}  // namespace
