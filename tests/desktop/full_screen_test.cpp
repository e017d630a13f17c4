// Where the frame goes back from full screen, and whether a window manager runs.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include "desktop/linux/full_screen.h"
#include "desktop/linux/window_manager.h"

namespace {

using FullScreenTest = DesktopTest;

// Back from full screen with no window manager to do it, a window partly off
// the screen's lower right asks to go where its frame lies whole on it: the
// window itself, border and all, where it has no frame; the frame as the
// window manager gives its extents; else the root's child that holds it.
TEST_F(FullScreenTest, LeaveKeepsTheFrameWholeOnItsMonitor) {
    const struct {
        const char* what;
        bool framed;
        std::vector<long> extents;  // left, right, top and bottom
        std::array<int, 2> at;      // where the window is asked to go
    } cases[] = {
        {"unframed, with a border of 3", false, {}, {1280 - 706, 1024 - 506}},
        {"in a frame of 720 x 530 with a border of 2", true, {}, {1280 - 724, 1024 - 534}},
        {"in a frame that says it adds 10, 30, 20 and 10", true, {10, 30, 20, 10}, {1280 - 740, 1024 - 530}},
    };
    for (const auto& c : cases) {
        // Framed, the window's inside is at (1012, 822); else at (1003, 803).
        const Window parent =
            c.framed ? XCreateSimpleWindow(x.Raw(), x.Root(), 1000, 800, 720, 530, 2, 0, 0) : x.Root();
        const Window window = XCreateSimpleWindow(display, x.Root(), 1000, 800, 700, 500, 3 * !c.framed, 0, 0);
        XSync(display, False);
        if (c.framed) {
            XReparentWindow(x.Raw(), window, parent, 10, 20);
        }
        XChangeProperty(x.Raw(), window, x.Intern("_NET_FRAME_EXTENTS"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(c.extents.data()), static_cast<int>(c.extents.size()));
        XSelectInput(x.Raw(), parent, SubstructureRedirectMask);
        XSync(x.Raw(), False);
        desktop::FullScreen(display, window).Leave(700, 500);
        XFlush(display);
        XEvent request{};
        EXPECT_TRUE(Poll([&] { return XCheckTypedEvent(x.Raw(), ConfigureRequest, &request); })) << c.what;
        EXPECT_EQ((std::array{request.xconfigurerequest.x, request.xconfigurerequest.y}), c.at) << c.what;
        XSelectInput(x.Raw(), parent, NoEventMask);
        x.Destroy(c.framed ? parent : window);
    }
}

// Where a window manager takes windows to full screen, Leave waits for the
// window to have the size asked for before it keeps the frame on screen: a
// size of the window manager's own (a tile) is left alone.
TEST_F(FullScreenTest, FrameIsKeptOnceTheWindowManagerHasGivenTheSize) {
    const FakeWindowManager manager(x, "_NET_WM_STATE_FULLSCREEN");
    const Window window = MapWindow(display, {1000, 800, 400, 300});
    desktop::FullScreen fullScreen(display, window);
    fullScreen.Leave(700, 500);  // with none to redirect it, the server gives the size at once
    fullScreen.Resized(640, 480);
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), (std::array{1000, 800, 700, 500}));
    fullScreen.Resized(700, 500);
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), (std::array{1280 - 700, 1024 - 500, 700, 500}));
}

// A window manager runs while the root names a check window that names
// itself, and supports what it lists; one that names another window, or is
// gone, is a leftover. (A leftover's list counting for nothing is the
// viewer's end-to-end tests'.)
TEST_F(FullScreenTest, OnlyACheckWindowThatNamesItselfIsAWindowManager) {
    FakeWindowManager manager(x, "_NET_WM_STATE_FULLSCREEN");
    EXPECT_TRUE(desktop::WindowManagerSupports(display, desktop::AtomName::NetWmStateFullscreen));
    EXPECT_FALSE(desktop::WindowManagerSupports(display, desktop::AtomName::NetActiveWindow));
    manager.NameInCheck(x.Root());
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    manager.NameInCheck(manager.Check());
    manager.Die();
    const desktop::WindowManagerFacts gone = desktop::CurrentWindowManager(display);
    EXPECT_TRUE(!gone.runs && gone.deadCheckNamed);
}

}  // namespace
