#pragma once

// gtest before Xlib: Xlib's macros (None, Bool) break gtest's headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bmp_writer.h"

// Window contents as 0xRRGGBB, top row first, as X hands them out.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    // (x, y) counted from the lower-left corner, as the viewer places images.
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(height - 1 - y) * width + x]; }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(height - 1 - y) * width + x]; }
};

inline constexpr std::uint32_t kBlue = 0x0000FF;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;

// What the window must show: blue, with each picture drawn with its lower-left
// corner at (x, y) and cut at the window's edges; a picture whose corner lies
// beyond the right or top edge is not drawn at all.
struct PlacedPicture {
    const TestPicture* picture;
    int x;
    int y;
};
Frame ExpectedFrame(int width, int height, const std::vector<PlacedPicture>& pictures);

struct WindowGeometry {
    int x = 0;  // of the window's inside, in root coordinates
    int y = 0;
    int width = 0;
    int height = 0;
};

// A client connection to the test's X server ($DISPLAY). X errors (a window
// that went away or changed size under a request) are counted, not fatal.
class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    ::Display* Raw() const { return display_; }
    int ScreenWidth() const;
    int ScreenHeight() const;

    // Viewable top-level windows whose WM_NAME is title.
    std::vector<Window> FindWindows(const std::string& title);
    std::optional<Window> WaitForWindow(const std::string& title, double timeoutSeconds = 5.0);
    bool WaitForNoWindow(const std::string& title, double timeoutSeconds = 5.0);

    std::optional<WindowGeometry> Geometry(Window window);
    // Polls until the window has the given size.
    bool WaitForSize(Window window, int width, int height, double timeoutSeconds = 5.0);
    std::optional<Frame> Grab(Window window);
    // Polls until the window shows exactly expected (its size included).
    ::testing::AssertionResult WaitForFrame(Window window, const Frame& expected, double timeoutSeconds = 5.0);

    // Focuses the window and types one key (with Shift where the keysym needs it).
    void PressKey(Window window, KeySym key);
    void Click(Window window, int x, int y);

private:
    ::Display* display_ = nullptr;
};
