// Full screen and back, the frame kept on its monitor, and whether a window
// manager runs, on a screen of one head with none.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include <X11/Xatom.h>

#include "desktop/full_screen.h"
#include "desktop/window_manager.h"

namespace {

using desktop::Rect;

class FullScreenTest : public DesktopTest {
protected:
    bool InFullScreenState(Window window) const {
        return std::ranges::count(x.Property(window, "_NET_WM_STATE", "ATOM"), x.Intern("_NET_WM_STATE_FULLSCREEN")) == 1;
    }
    std::array<int, 4> Screen() const { return x.Geometry(x.Root()).value(); }
};

// Back from full screen, the window returns where it was; a second Enter
// changes nothing.
TEST_F(FullScreenTest, EnterCoversTheScreenAndLeaveGoesBack) {
    const Window window = MapWindow(display, {100, 80, 400, 300});
    desktop::FullScreen fullScreen(display, window);
    fullScreen.Enter();
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), Screen());
    EXPECT_TRUE(InFullScreenState(window));
    XSelectInput(x.Raw(), window, StructureNotifyMask);
    fullScreen.Enter();
    XSync(display, False);
    XEvent event;
    EXPECT_FALSE(XCheckTypedWindowEvent(x.Raw(), window, ConfigureNotify, &event)) << "the window was reconfigured";
    fullScreen.Leave(700, 500);
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), (std::array{100, 80, 700, 500}));
    EXPECT_FALSE(InFullScreenState(window));
}

// A window partly off the screen, or wider than it, is moved as little as
// it takes to lie on it, border and all; one the screen holds stays.
TEST_F(FullScreenTest, FrameIsKeptWholeOnItsMonitor) {
    constexpr int kBorder = 3;
    const std::array<int, 4> screen = Screen();
    const struct { Rect from; std::array<int, 2> to; } cases[] = {
        {{-50, -40, 700, 500}, {0, 0}},
        {{1000, 800, 700, 500}, {screen[2] - 700 - 2 * kBorder, screen[3] - 500 - 2 * kBorder}},
        {{100, 90, 700, 500}, {100, 90}},
        {{300, 10, screen[2] + 10, 500}, {0, 10}},
    };
    for (const auto& [from, to] : cases) {
        const Window window = XCreateSimpleWindow(display, x.Root(), from.x, from.y, from.width, from.height, kBorder, 0, 0);
        desktop::FullScreen fullScreen(display, window);
        EXPECT_FALSE(fullScreen.KeepFrameOnScreen(from.width - 1, from.height)) << "not the size asked for yet";
        EXPECT_TRUE(fullScreen.KeepFrameOnScreen(from.width, from.height));
        XSync(display, False);
        EXPECT_EQ(x.Geometry(window), (std::array{to[0] + kBorder, to[1] + kBorder, from.width, from.height}))
            << from.x << "," << from.y;
        XDestroyWindow(display, window);
    }
}

// A window manager runs while the root names a check window that names
// itself; one that names nothing, or another window, is a leftover, and the
// window goes full screen by itself. A leftover is forgotten once its
// window is gone.
TEST_F(FullScreenTest, OnlyACheckWindowThatNamesItselfIsAWindowManager) {
    const Window check = XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 1, 1, 0, 0, 0);
    const auto name = [&](Window on, Window named) {
        XChangeProperty(x.Raw(), on, XInternAtom(x.Raw(), "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&named), 1);
        XSync(x.Raw(), False);
    };
    const long supported[] = {x.Intern("_NET_WM_STATE_FULLSCREEN")};
    XChangeProperty(x.Raw(), x.Root(), XInternAtom(x.Raw(), "_NET_SUPPORTED", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(supported), 1);
    name(x.Root(), check);
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    const Window window = MapWindow(display, {100, 80, 400, 300});
    desktop::FullScreen(display, window).Enter();
    XSync(display, False);
    EXPECT_EQ(x.Geometry(window), Screen());
    name(check, x.Root());
    EXPECT_FALSE(desktop::WindowManagerRuns(display));
    name(check, check);
    EXPECT_TRUE(desktop::WindowManagerSupports(display, "_NET_WM_STATE_FULLSCREEN"));
    EXPECT_FALSE(desktop::WindowManagerSupports(display, "_NET_ACTIVE_WINDOW"));

    desktop::ForgetDeadWindowManager(display);
    EXPECT_TRUE(desktop::WindowManagerRuns(display));
    x.Destroy(check);
    desktop::ForgetDeadWindowManager(display);
    EXPECT_EQ(x.Property(x.Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW"), std::vector<long>{});
    XDeleteProperty(x.Raw(), x.Root(), XInternAtom(x.Raw(), "_NET_SUPPORTED", False));
}

// One screen of two 1280 x 1024 monitors side by side, with no window
// manager or beside one.
class FullScreenTwoHeads : public FullScreenTest, public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (GetParam() != std::string("none")) {
            manager.emplace(Quietly(GetParam()));
            // It names itself before it takes windows on: one mapped too
            // soon stays unmapped.
            const Window probe = XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 10, 10, 0, 0, 0);
            ASSERT_TRUE(Poll([&] { return x.WindowManagerRuns() && XMapWindow(x.Raw(), probe) && Viewable(probe); }));
            x.Destroy(probe);
        }
    }

    bool Viewable(Window window) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(x.Raw(), window, &a) != 0 && a.map_state == IsViewable;
    }

    static constexpr std::array kRightHead{1280, 0, 1280, 1024};
    std::optional<Process> manager;
};

TEST_P(FullScreenTwoHeads, MonitorOfAnAreaHoldsItsMiddleOrMostOfIt) {
    const struct { Rect area; std::array<int, 4> monitor; } cases[] = {
        {{1200, 0, 300, 100}, kRightHead},
        {{1270, 500, 20, 20}, kRightHead},
        {{1260, 500, 20, 20}, {0, 0, 1280, 1024}},
        {{-500, 0, 600, 100}, {0, 0, 1280, 1024}},
        {{2500, -300, 200, 400}, kRightHead},
    };
    for (const auto& [area, monitor] : cases) {
        EXPECT_EQ(Array(desktop::MonitorOf(display, area)), monitor) << area.x << "," << area.y;
    }
}

// A window on the second head covers that head in full screen, and comes
// back to it.
TEST_P(FullScreenTwoHeads, FullScreenCoversTheSecondHead) {
    const Window window = XCreateSimpleWindow(display, x.Root(), 1400, 100, 400, 300, 0, 0, 0);
    XSizeHints hints{};
    hints.flags = USPosition;  // so that a window manager leaves it there
    XSetWMNormalHints(display, window, &hints);
    XMapWindow(display, window);
    XFlush(display);
    ASSERT_TRUE(Poll([&] { return Viewable(window) && x.Geometry(window).value()[0] >= 1280; }));
    desktop::FullScreen fullScreen(display, window);
    fullScreen.Enter();
    XFlush(display);
    EXPECT_TRUE(Poll([&] { return x.Geometry(window) == kRightHead; }));
    fullScreen.Leave(700, 500);
    XFlush(display);
    EXPECT_TRUE(Poll([&] {
        const auto inside = x.Geometry(window);
        return inside && (*inside)[0] >= 1280 && (*inside)[2] == 700 && (*inside)[3] == 500;
    }));
}

INSTANTIATE_TEST_SUITE_P(Managers, FullScreenTwoHeads, testing::Values("none", "openbox"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
