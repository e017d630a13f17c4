// The error box where no window manager places it: where it shows, and which
// keys it takes.
#include "desktop_test.h"  // first: it orders gtest and Xlib

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

    // Dismisses the box; the child must then end.
    void Dismiss(Window box) {
        x.Type(box, {XK_Return});
        EXPECT_EQ(child.WaitForExit(), 0);
    }

    Process child;
};

// Where no window manager places it, the box goes where PlacedOver puts its
// frame (the box and its border) for its window, on the window's monitor:
// here, over a window partly off the screen's lower right.
TEST_F(ErrorBoxTest, IsPlacedForItsWindowAndMonitor) {
    const Rect owner{1000, 900, 500, 400};
    ShowBox(owner);
    const Window box = x.WaitForWindow("Error").value_or(0);
    XWindowAttributes a{};
    ASSERT_NE(XGetWindowAttributes(x.Raw(), box, &a), 0);
    const Rect frame{a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    EXPECT_EQ(frame, desktop::PlacedOver(owner, {0, 0, screen[2], screen[3]}, frame.width, frame.height));
    Dismiss(box);
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
