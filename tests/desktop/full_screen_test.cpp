// The frame kept on its monitor, and whether a window manager runs.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include <X11/Xatom.h>

#include "desktop/linux/full_screen.h"
#include "desktop/linux/window_manager.h"

namespace {

class FullScreenTest : public DesktopTest {
protected:
    // Sets a 32-bit property of one item, as a window manager does, and waits until it is set.
    void Set(Window on, const char* name, Atom type, long value) const {
        XChangeProperty(x.Raw(), on, XInternAtom(x.Raw(), name, False), type, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(x.Raw(), False);
    }
};

// Back from full screen with no window manager, a window partly off the
// screen, or wider than it, is moved as little as it takes to lie on it,
// border and all.
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
        desktop::FullScreen(display, window).Leave(c.width, kHeight);
        XSync(display, False);
        EXPECT_EQ(x.Geometry(window), (std::array{c.to[0] + kBorder, c.to[1] + kBorder, c.width, kHeight})) << c.x;
    }
}

// With full screen left to the window, Down asks to move its frame whole
// onto its monitor: the frame as the window manager gives its extents, or
// else found up the tree.
TEST_F(FullScreenTest, FrameIsTheWindowManagersOrFoundUpTheTree) {
    const Window frame = XCreateSimpleWindow(x.Raw(), x.Root(), 1000, 800, 720, 530, 2, 0, 0);
    const Window window = XCreateSimpleWindow(display, x.Root(), 0, 0, 700, 500, 0, 0, 0);
    XSync(display, False);
    XReparentWindow(x.Raw(), window, frame, 10, 20);
    XSelectInput(x.Raw(), frame, SubstructureRedirectMask);
    XSync(x.Raw(), False);
    const auto requested = [&] {
        desktop::FullScreen(display, window).Leave(700, 500);
        XFlush(display);
        XEvent request{};
        EXPECT_TRUE(Poll([&] { return XCheckTypedEvent(x.Raw(), ConfigureRequest, &request); }));
        return std::array{request.xconfigurerequest.x, request.xconfigurerequest.y};
    };
    EXPECT_EQ(requested(), (std::array{1280 - 724, 1024 - 534}));
    // Left, right, top and bottom, around the inside at (1012, 822).
    const long extents[] = {10, 30, 20, 10};
    XChangeProperty(x.Raw(), window, XInternAtom(x.Raw(), "_NET_FRAME_EXTENTS", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(extents), 4);
    XSync(x.Raw(), False);
    EXPECT_EQ(requested(), (std::array{1280 - 740, 1024 - 530}));
}

// Where a window manager takes windows to full screen, Down waits for the
// window to have the size asked for before it keeps the frame on screen: a
// size of the window manager's own (a tile) is left alone.
TEST_F(FullScreenTest, FrameIsKeptOnceTheWindowManagerHasGivenTheSize) {
    const Window check = XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 1, 1, 0, 0, 0);
    Set(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    Set(x.Root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    Set(x.Root(), "_NET_SUPPORTED", XA_ATOM, x.Intern("_NET_WM_STATE_FULLSCREEN"));
    const Window window = MapWindow(display, {1000, 800, 400, 300});
    desktop::FullScreen fullScreen(display, window);
    fullScreen.Leave(700, 500);  // with none to redirect it, the server gives the size at once
    fullScreen.Resized(640, 480);
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), (std::array{1000, 800, 700, 500}));
    fullScreen.Resized(700, 500);
    fullScreen.Resized(700, 500);
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), (std::array{1280 - 700, 1024 - 500, 700, 500}));
    x.Destroy(check);
    XDeleteProperty(x.Raw(), x.Root(), XInternAtom(x.Raw(), "_NET_SUPPORTED", False));
}

// A window manager runs while the root names a check window that names
// itself. One that names nothing, or another window, is a leftover, and the
// window goes full screen by itself; it is forgotten once its window is gone.
TEST_F(FullScreenTest, OnlyACheckWindowThatNamesItselfIsAWindowManager) {
    const Window check = XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 1, 1, 0, 0, 0);
    Set(x.Root(), "_NET_SUPPORTED", XA_ATOM, x.Intern("_NET_WM_STATE_FULLSCREEN"));
    Set(x.Root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    const Window window = MapWindow(display, {100, 80, 400, 300});
    desktop::FullScreen(display, window).Enter();
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), x.Geometry(x.Root()));
    Set(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(x.Root()));
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    Set(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check));
    EXPECT_TRUE(desktop::WindowManagerSupports(display, desktop::AtomName::NetWmStateFullscreen));
    EXPECT_FALSE(desktop::WindowManagerSupports(display, desktop::AtomName::NetActiveWindow));

    desktop::ForgetDeadWindowManager(display);
    EXPECT_TRUE(desktop::WindowManagerRuns(display));
    x.Destroy(check);
    desktop::ForgetDeadWindowManager(display);
    EXPECT_EQ(x.Property(x.Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW"), std::vector<long>{});
    XDeleteProperty(x.Raw(), x.Root(), XInternAtom(x.Raw(), "_NET_SUPPORTED", False));
}

}  // namespace
