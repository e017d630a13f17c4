#include "desktop/full_screen.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

#include "desktop/error_trap.h"
#include "desktop/window_manager.h"
#include "desktop/window_property.h"

namespace desktop {
namespace {

constexpr const char* kFullScreenState = "_NET_WM_STATE_FULLSCREEN";
constexpr long kRemove = 0;
constexpr long kAdd = 1;
constexpr long kFromApplication = 1;

void AskForState(Display* display, Window window, long action) {
    AskWindowManager(display, window, "_NET_WM_STATE",
                     {action, static_cast<long>(XInternAtom(display, kFullScreenState, False)), 0, kFromApplication});
}

}  // namespace

void FullScreen::Enter() {
    // The frame is the window manager's, and may go at any moment.
    ErrorTrap trap(display_);
    const bool managed = WindowManagerSupports(display_, kFullScreenState);
    const Rect inside = OnScreen(display_, window_);
    const Rect monitor = MonitorOf(display_, inside);
    const bool inState = InFullScreenState();
    // Until a window manager carries out a Leave, the window still looks full screen.
    if (entered_ && inside == monitor && (inState || !managed)) {
        return;
    }
    if (managed) {
        AskForState(display_, window_, kAdd);
    } else {
        if (!before_) {
            before_ = Frame();
        }
        XMoveResizeWindow(display_, window_, monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                          static_cast<unsigned>(monitor.height));
        SetOwnState(true);
    }
    entered_ = true;
}

void FullScreen::Leave(int width, int height) {
    ErrorTrap trap(display_);
    if (WindowManagerSupports(display_, kFullScreenState)) {
        // Whether the window manager has yet carried out an earlier Enter
        // cannot be told; removing a state the window lacks changes nothing.
        AskForState(display_, window_, kRemove);
        XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    } else {
        const Rect place = before_ ? *before_ : Frame();
        XMoveResizeWindow(display_, window_, place.x, place.y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
        SetOwnState(false);
    }
    entered_ = false;
    before_.reset();
}

bool FullScreen::KeepFrameOnScreen(int width, int height) {
    ErrorTrap trap(display_);
    const Rect inside = OnScreen(display_, window_);
    if (inside.width != width || inside.height != height ||
        (InFullScreenState() && WindowManagerSupports(display_, kFullScreenState))) {
        return trap.Caught();  // gone: nothing to wait for
    }
    const Rect frame = Frame();
    const Rect kept = KeptOn(MonitorOf(display_, frame), frame);
    if (kept != frame) {
        // The window's gravity is north-west: a window manager puts the
        // frame's corner where the window is asked to go.
        XMoveWindow(display_, window_, kept.x, kept.y);
    }
    return true;
}

// The root's child that holds the window, border and all: the window manager's
// frame, or the window itself where none runs.
Rect FullScreen::Frame() const {
    Window top = window_;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        const Status known = XQueryTree(display_, top, &root, &parent, &children, &count);
        XFree(children);
        if (known == 0 || parent == root) {
            break;
        }
        top = parent;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, top, &attributes);
    return {attributes.x, attributes.y, attributes.width + 2 * attributes.border_width,
            attributes.height + 2 * attributes.border_width};
}

bool FullScreen::InFullScreenState() const {
    return std::ranges::count(PropertyItems(display_, window_, "_NET_WM_STATE", XA_ATOM),
                              static_cast<long>(XInternAtom(display_, kFullScreenState, False))) != 0;
}

// Where no window manager keeps the window's state, the window does: one that
// starts later reads it, and must not find a full screen left long ago by one
// that died.
void FullScreen::SetOwnState(bool fullScreen) {
    const Atom fullScreenState = XInternAtom(display_, kFullScreenState, False);
    std::vector<long> state = PropertyItems(display_, window_, "_NET_WM_STATE", XA_ATOM);
    std::erase(state, static_cast<long>(fullScreenState));
    if (fullScreen) {
        state.push_back(static_cast<long>(fullScreenState));
    }
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state.data()), static_cast<int>(state.size()));
}

}  // namespace desktop
