#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "desktop/monitors.h"

namespace desktop {

// Takes a window to full screen and back the way of the window manager that
// runs at that moment, if any: one may start, die or be replaced while the
// window lives.
class FullScreen {
public:
    FullScreen(Display* display, Window window) : display_(display), window_(window) {}

    // Covers the monitor that holds the window: through the window manager's
    // full-screen state where one does that, by moving and sizing the window
    // where none does. Changes nothing where the window covers it already.
    void Enter();

    // Leaves full screen, if the window is in it, and makes it width x height.
    void Leave(int width, int height);

    // Once the window is width x height out of full screen, moves its frame,
    // where some of it is off its monitor, to lie whole on it. False until
    // then: a window manager carries out Leave in its own time.
    bool KeepFrameOnScreen(int width, int height);

private:
    Rect Frame() const;
    bool InFullScreenState() const;
    void SetOwnState(bool fullScreen);

    Display* display_;
    Window window_;
    bool entered_ = false;        // Enter was asked last
    std::optional<Rect> before_;  // where the frame was when Enter first moved the window itself
};

}  // namespace desktop
