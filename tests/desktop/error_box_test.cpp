// The error box as a user and a window manager meet it: where it shows, what
// it says of itself before it maps, and which keys it takes.
#include "desktop_test.h"  // first: it orders gtest and Xlib

#include <cstdlib>
#include <map>

#include "desktop/error_box.h"

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
            if (!typedBefore.empty()) {
                session.Type(window, typedBefore);
            }
            desktop::ShowErrorBox(session.Raw(), window, "Error", "Failed to open DIB file B.bmp.");
            return 0;
        });
    }

    // The box's frame: the box and its border.
    Rect Frame(Window box) const {
        XWindowAttributes a{};
        XGetWindowAttributes(x.Raw(), box, &a);
        return {a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
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
    const auto frameFor = [&](const Rect& owner) {
        ShowBox(owner);
        const Window box = x.WaitForWindow("Error").value_or(0);
        const Rect frame = Frame(box);
        EXPECT_TRUE((Rect{0, 0, screen[2], screen[3]}).Contains(frame)) << owner.x << "," << owner.y;
        Dismiss(box);
        return frame;
    };
    // Twice the middle, so that an odd size rounds one pixel at most.
    const auto nearMiddle = [](const Rect& frame, int twiceX, int twiceY) {
        return std::abs(2 * frame.x + frame.width - twiceX) <= 1 && std::abs(2 * frame.y + frame.height - twiceY) <= 1;
    };
    EXPECT_TRUE(nearMiddle(frameFor({300, 200, 500, 400}), 2 * 300 + 500, 2 * 200 + 400));
    EXPECT_TRUE(nearMiddle(frameFor({50, 60, 120, 80}), screen[2], screen[3]));
    const Rect topLeft = frameFor({-200, -300, 500, 400}), bottomRight = frameFor({1000, 900, 500, 400});
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

// What a window manager reads as it takes the box on, before the box maps:
// a dialog of its window, modal, named and classed as the viewer's, of a
// fixed size, that takes the keys and may be closed.
TEST_F(ErrorBoxTest, TellsTheWindowManagerWhatItIsBeforeItMaps) {
    XSelectInput(x.Raw(), x.Root(), SubstructureRedirectMask);
    ShowBox({100, 100, 300, 200});
    // As a window manager: each window asking to map is mapped, the box once read.
    Window owner = 0, box = 0;
    std::map<std::string, std::vector<long>> read;
    ASSERT_TRUE(Poll([&] {
        for (XEvent event; box == 0 && XPending(x.Raw()) != 0;) {
            XNextEvent(x.Raw(), &event);
            if (event.type != MapRequest) {
                continue;
            }
            const Window window = event.xmaprequest.window;
            for (const auto& [name, type] : std::map<std::string, std::string>{
                     {"WM_HINTS", "WM_HINTS"}, {"WM_NORMAL_HINTS", "WM_SIZE_HINTS"}, {"WM_CLASS", "STRING"},
                     {"WM_NAME", "STRING"}, {"_NET_WM_NAME", "UTF8_STRING"}, {"_NET_WM_ICON", "CARDINAL"},
                     {"_NET_WM_WINDOW_TYPE", "ATOM"}, {"_NET_WM_STATE", "ATOM"}, {"WM_PROTOCOLS", "ATOM"},
                     {"WM_TRANSIENT_FOR", "WINDOW"}, {"_NET_WM_PID", "CARDINAL"}}) {
                read[name] = x.Property(window, name.c_str(), type.c_str());
            }
            (read["WM_TRANSIENT_FOR"].empty() ? owner : box) = window;
            XMapWindow(x.Raw(), window);
        }
        return box != 0;
    }));
    const auto text = [](std::string_view bytes) { return std::vector<long>(bytes.begin(), bytes.end()); };
    ASSERT_GE(read["WM_HINTS"].size(), 2u);
    EXPECT_EQ(read["WM_HINTS"][0] & InputHint, InputHint);
    EXPECT_EQ(read["WM_HINTS"][1], True);
    const std::array<int, 4> size = x.Geometry(box).value();
    ASSERT_GE(read["WM_NORMAL_HINTS"].size(), 9u);
    EXPECT_EQ(read["WM_NORMAL_HINTS"][0], PMinSize | PMaxSize);
    EXPECT_EQ(std::vector(read["WM_NORMAL_HINTS"].begin() + 5, read["WM_NORMAL_HINTS"].begin() + 9),
              (std::vector<long>{size[2], size[3], size[2], size[3]}));
    EXPECT_EQ(read["WM_CLASS"], text({"image-border\0ImageBorder\0", 25}));
    EXPECT_EQ(read["WM_NAME"], text("Error"));
    EXPECT_EQ(read["_NET_WM_NAME"], text("Error"));
    EXPECT_FALSE(read["_NET_WM_ICON"].empty());
    EXPECT_EQ(read["_NET_WM_WINDOW_TYPE"], std::vector{x.Intern("_NET_WM_WINDOW_TYPE_DIALOG")});
    EXPECT_EQ(read["_NET_WM_STATE"], std::vector{x.Intern("_NET_WM_STATE_MODAL")});
    EXPECT_EQ(read["WM_PROTOCOLS"], std::vector{x.Intern("WM_DELETE_WINDOW")});
    EXPECT_EQ(read["_NET_WM_PID"], std::vector<long>{child.Pid()});
    EXPECT_EQ(read["WM_TRANSIENT_FOR"], std::vector<long>{static_cast<long>(owner)});
    Dismiss(box);
}

}  // namespace
