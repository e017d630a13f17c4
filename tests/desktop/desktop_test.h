#pragma once

// gtest before Xlib: Xlib's macros (None, Bool) break gtest's headers.
#include <gtest/gtest.h>

#include "x_session.h"

#include <X11/Xatom.h>

#include <memory>
#include <utility>

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

// What a window manager shows other clients, and nothing more: a check
// window that the root names and that names itself, and the hints it lists
// as supported. The root is left as it was found however the test ends.
class FakeWindowManager {
public:
    FakeWindowManager(const XSession& x, const char* supported)
        : x_(x), check_(XCreateSimpleWindow(x.Raw(), x.Root(), 0, 0, 1, 1, 0, 0, 0)) {
        Set(x_.Root(), "_NET_SUPPORTED", XA_ATOM, x_.Intern(supported));
        Set(x_.Root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(check_));
        NameInCheck(check_);
    }
    ~FakeWindowManager() {
        XDeleteProperty(x_.Raw(), x_.Root(), XInternAtom(x_.Raw(), "_NET_SUPPORTING_WM_CHECK", False));
        XDeleteProperty(x_.Raw(), x_.Root(), XInternAtom(x_.Raw(), "_NET_SUPPORTED", False));
        Die();
    }
    FakeWindowManager(const FakeWindowManager&) = delete;
    FakeWindowManager& operator=(const FakeWindowManager&) = delete;

    Window Check() const { return check_; }
    // What the check window names: itself while the window manager runs.
    void NameInCheck(Window named) const {
        Set(check_, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, static_cast<long>(named));
    }
    // Killed, it leaves its check window named on the root: a leftover.
    void Die() {
        if (check_ != 0) {
            x_.Destroy(std::exchange(check_, 0));
        }
    }

private:
    // A 32-bit property of one item, set by the time this returns.
    void Set(Window on, const char* name, Atom type, long value) const {
        XChangeProperty(x_.Raw(), on, XInternAtom(x_.Raw(), name, False), type, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(x_.Raw(), False);
    }

    const XSession& x_;
    Window check_;
};
