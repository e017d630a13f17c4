#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <utility>

#include "desktop/linux/window_facts.h"

namespace desktop {

// Takes a window to full screen and back the way of the window manager that
// runs at that moment, if any: one may start, die or be replaced while the
// window lives. Each asks the server what it needs in one round trip, a
// second where the root names a window manager's check window. Where the
// window is framed by a window manager that does not say how
// (_NET_FRAME_EXTENTS), finding the frame takes one more for each level of
// windows from the window up to the root's child, and one for its size.
class FullScreen {
public:
    FullScreen(Display* display, Window window) : display_(display), window_(window) {}

    // Covers the monitor that holds the window: through the window manager's
    // full-screen state where one does that, by moving and sizing the window
    // where none does. Changes nothing where the last call was Enter and the
    // window covers the monitor still.
    void Enter();

    // Leaves full screen, if the window is in it, and makes it width x height,
    // its frame all on its monitor: at once where no window manager does it,
    // else once the window manager has made it that size (see Resized).
    void Leave(int width, int height);

    // Tells that the window is now width x height. Once that is the size the
    // last Leave asked for, moves its frame, where some of it is off its
    // monitor, to lie whole on it. A window manager that gives the window a
    // size of its own (a tile) is left to it: nothing is asked.
    void Resized(int width, int height);

private:
    void KeepFrameOnScreen(const WindowFacts& facts);
    void SetOwnState(const WindowFacts& facts, bool fullScreen);

    Display* display_;
    Window window_;
    bool entered_ = false;        // Enter was asked last
    // Where the frame and the window inside it were when Enter first moved the window itself.
    struct Place {
        Rect frame;
        Rect inside;
    };
    std::optional<Place> before_;
    std::optional<std::pair<int, int>> awaited_;  // the size the last Leave waits for, until the window has it
};

}  // namespace desktop
