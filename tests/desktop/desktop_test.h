#pragma once

// gtest before Xlib: Xlib's macros (None, Bool) break gtest's headers.
#include <gtest/gtest.h>

#include "x_session.h"

#include <memory>

#include "desktop/linux/monitors.h"

// The code under test on a connection of its own, as the viewer's, watched
// through another, as other clients see it.
class DesktopTest : public testing::Test {
protected:
    // A window of the code's connection at (x, y), width x height inside, mapped
    // with no window manager to place it. Its events are selected as GLUT does.
    static Window MapWindow(Display* on, const desktop::Rect& place) {
        const Window window = XCreateSimpleWindow(on, DefaultRootWindow(on), place.x, place.y, place.width,
                                                  place.height, 0, 0, 0);
        XSelectInput(on, window, KeyPressMask | StructureNotifyMask | ExposureMask);
        XMapWindow(on, window);
        XEvent mapped;
        XWindowEvent(on, window, StructureNotifyMask, &mapped);
        return window;
    }

    XSession x;
    std::unique_ptr<Display, decltype(&XCloseDisplay)> connection{XOpenDisplay(nullptr), XCloseDisplay};
    Display* display = connection.get();
};
