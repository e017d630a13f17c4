#pragma once

// harness.h first: it orders gtest and Xlib.
#include "harness.h"

#include <cstdlib>

#include "image_class/point_intensity.h"

// What "2" makes of picture: its dark pixels black, the others white. (The
// intensity itself, and the pass against it for every colour, are tested on
// their own.)
inline Rows DarkMask(Rows picture) {
    for (auto& row : picture) {
        for (auto& c : row) {
            c = PointIntensity(c >> 16, c >> 8 & 0xFF, c & 0xFF) < 5 ? kBlack : kWhite;
        }
    }
    return picture;
}

class ViewerE2e : public testing::Test {
protected:
    // The window manager the test runs beside has started: a test that took
    // its place on the root meanwhile would keep it from starting at all.
    void SetUp() override {
        ASSERT_TRUE(manager == "none" || Poll([&] { return x.WindowManagerRuns(); })) << manager << " does not run";
    }

    // Starts the viewer on this "B.bmp" (none without bitmap); its window titled title, or 0.
    Window Open(const std::optional<Bytes>& bitmap, const std::string& title = kTitle,
                const std::string& arguments = "", double timeoutSeconds = 5.0) {
        // Windows are found by title: the last test's must be gone first.
        EXPECT_TRUE(Poll([&] { return x.FindWindows(kTitle).empty() && x.FindWindows(kErrorTitle).empty(); }));
        viewer.Start(bitmap, arguments, program);
        const auto window = x.WaitForWindow(title, timeoutSeconds);
        EXPECT_TRUE(window) << "no window titled \"" << title << "\"; stderr: " << viewer.Output("stderr");
        if (window && title == kTitle) {
            FindTile(*window);
        }
        return window.value_or(0);
    }

    // A tiling window manager gives the main window its tile, whatever size
    // it asks for: with it alone on the screen, its frame covers the screen.
    void FindTile(Window window) {
        if (manager == "i3") {
            EXPECT_TRUE(Poll([&] {
                return x.TopLevel(window) != window && x.Geometry(x.TopLevel(window)) == x.Geometry(x.Root());
            })) << "the window does not fill a tile of the screen";
            tile = x.Geometry(window);
        }
    }

    // The size of a main window that asked for width x height, and its scene.
    std::pair<int, int> Sized(int width, int height) const {
        return tile ? std::pair{(*tile)[2], (*tile)[3]} : std::pair{width, height};
    }
    Rows Windowed(int width, int height, const Rows& picture, const Rows& right) const {
        const auto [tileWidth, tileHeight] = Sized(width, height);
        return Scene(tileWidth, tileHeight, picture, right);
    }

    // What the program wrote to "stdout" or "stderr", its lines ending in LF:
    // a Windows program's end in CR LF, as text on Windows does.
    std::string Written(const std::string& stream) const {
        std::string text = viewer.Output(stream);
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
            text.erase(at, 1);
        }
        return text;
    }

    // Waits for the program to end with status, having written error to standard error.
    void ExpectEnd(int status, const std::string& error = "") {
        EXPECT_EQ(viewer.WaitForExit(), status);
        EXPECT_EQ(Written("stderr"), error);
    }

    // From a place partly off the screen's lower right, Up is full screen, in
    // the full-screen state, and Down a 700 x 500 window whose frame lies
    // whole on the screen; with none to keep it there, the window itself goes
    // back as near as it can, at the lower right. (Under Wine the frame is the
    // window manager's, a pixel or two from what Wine tells the program: there
    // the window inside it is checked, and the state is not the program's.)
    void UpAndDownFromTheCorner(Window window) {
        const std::array<int, 4> screen = x.Geometry(x.Root()).value();
        XMoveWindow(x.Raw(), x.TopLevel(window), screen[2] - 300, screen[3] - 200);
        ASSERT_TRUE(Poll([&] { return x.Geometry(window).value_or(std::array<int, 4>{})[0] > screen[2] - 400; }));
        x.Type(window, {XK_Up});
        EXPECT_TRUE(Poll([&] { return x.Geometry(window) == screen && (underWine || InFullScreenState(window)); }));
        x.Type(window, {XK_Down});
        EXPECT_TRUE(Poll([&] {
            const auto inside = x.Geometry(window), frame = x.Geometry(underWine ? window : x.TopLevel(window));
            return inside && frame && (*inside)[2] == 700 && (*inside)[3] == 500 && (*frame)[0] >= 0 &&
                   (*frame)[1] >= 0 && (*frame)[0] + (*frame)[2] <= screen[2] && (*frame)[1] + (*frame)[3] <= screen[3];
        }));
        EXPECT_FALSE(InFullScreenState(window));
        EXPECT_TRUE(x.WindowManagerRuns() || x.Geometry(window).value()[0] + 700 == screen[2]);
    }

    bool InFullScreenState(Window window) const {
        return std::ranges::count(x.Property(window, "_NET_WM_STATE", "ATOM"), x.Intern("_NET_WM_STATE_FULLSCREEN")) == 1;
    }

    const std::string manager = std::getenv("IMAGE_BORDER_E2E_WM") ? std::getenv("IMAGE_BORDER_E2E_WM") : "none";
    // The command that starts the program: the Linux build's, or a Windows
    // build's under Wine, which draws the Windows frame and full screen its
    // own way (the frame's place and the full-screen state are the X11
    // program's to show).
    const std::string program = std::getenv("IMAGE_BORDER_E2E_PROGRAM") ? std::getenv("IMAGE_BORDER_E2E_PROGRAM")
                                                                          : "'" IMAGE_BORDER_PROGRAM "'";
    const bool underWine = std::getenv("IMAGE_BORDER_E2E_PROGRAM") != nullptr;
    std::optional<std::array<int, 4>> tile;
    XSession x;
    ViewerProcess viewer;
};

