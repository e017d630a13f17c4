// The error box where no window manager places it: where it shows, and which
// keys it takes.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include <cstdlib>

#include "desktop/linux/error_box.h"

namespace {

using desktop::Rect;

class ErrorBoxTest : public DesktopTest {
protected:
    // Shows the box in a child process, over a window of its own at owner,
    // once keys have been typed in that window; the child ends when the box
    // goes. The box blocks, and shares the connection of its owner, as the
    // viewer's does.
    void ShowBox(const Rect& owner, const std::vector<KeySym>& typedBefore = {}) {
        child.Fork([=] {
            const XSession session;
            const Window window = MapWindow(session.Raw(), owner);
            session.Type(window, typedBefore);
            desktop::ShowErrorBox(session.Raw(), window, "Error", "Failed to open DIB file B.bmp.");
            return 0;
        });
    }

    // The frame (the box and its border) of a box shown for owner, once
    // dismissed; it must lie whole on the screen.
    Rect FrameFor(const Rect& owner) {
        ShowBox(owner);
        const Window box = x.WaitForWindow("Error").value_or(0);
        XWindowAttributes a{};
        XGetWindowAttributes(x.Raw(), box, &a);
        const Rect frame{a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
        const std::array<int, 4> screen = x.Geometry(x.Root()).value();
        EXPECT_TRUE((Rect{0, 0, screen[2], screen[3]}).Contains(frame)) << owner.x << "," << owner.y;
        Dismiss(box);
        return frame;
    }

    // Whether frame's middle is that of area, one pixel off where sizes are odd.
    static bool Centred(const Rect& frame, const Rect& area) {
        return std::abs(2 * frame.x + frame.width - 2 * area.x - area.width) <= 1 &&
               std::abs(2 * frame.y + frame.height - 2 * area.y - area.height) <= 1;
    }

    // Dismisses the box; the child must then end.
    void Dismiss(Window box) {
        x.Type(box, {XK_Return});
        EXPECT_EQ(child.WaitForExit(), 0);
    }

    Process child;
};

// Where no window manager places it: over its window where it fits there,
// else in the middle of the window's monitor; its frame always whole on it.
TEST_F(ErrorBoxTest, ShowsOverItsWindowOrElseInTheMiddleOfTheMonitor) {
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    EXPECT_TRUE(Centred(FrameFor({300, 200, 500, 400}), {300, 200, 500, 400}));
    EXPECT_TRUE(Centred(FrameFor({50, 60, 120, 80}), {0, 0, screen[2], screen[3]}));
    const Rect topLeft = FrameFor({-200, -300, 500, 400}), bottomRight = FrameFor({1000, 900, 500, 400});
    EXPECT_EQ((std::array{topLeft.x, topLeft.y}), (std::array{0, 0}));
    EXPECT_EQ((std::array{bottomRight.x + bottomRight.width, bottomRight.y + bottomRight.height}),
              (std::array{screen[2], screen[3]}));
}

// Keys typed while the program was busy, before the box showed, were not
// meant for it: only those typed once it shows dismiss it.
TEST_F(ErrorBoxTest, KeysTypedBeforeItShowsAreNotForIt) {
    ShowBox({100, 100, 300, 200}, {XK_Return, XK_Escape, XK_space});
    const Window box = x.WaitForWindow("Error").value_or(0);
    ASSERT_NE(box, 0u) << "the box went at once";
    // Painted: its button's black outline shows.
    EXPECT_TRUE(Poll([&] {
        const Rows rows = x.Grab(box).value_or(Rows{});
        return std::ranges::any_of(rows, [](const auto& row) { return std::ranges::count(row, kBlack) != 0; });
    }));
    EXPECT_FALSE(child.WaitForExit(0));
    Dismiss(box);
}

}  // namespace
