#include "desktop/linux/box_events.h"

#include <X11/keysym.h>
#include <sys/select.h>

#include <cerrno>
#include <utility>

#include "desktop/linux/atoms.h"
#include "desktop/linux/window_manager.h"

namespace desktop {
namespace {

bool IsDismissKey(KeySym key) {
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
}

// Blocks until the X connection has something to read, without spinning.
void WaitForEvents(Display* display) {
    const int fd = ConnectionNumber(display);
    while (XPending(display) == 0) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        if (select(fd + 1, &readable, nullptr, nullptr, nullptr) < 0 && errno != EINTR) {
            return;
        }
    }
}

}  // namespace

BoxEvents::BoxEvents(Display* display, Window box, Window owner, const Rect& button, std::function<void()> paint)
    : display_(display), box_(box), owner_(owner), button_(button), paint_(std::move(paint)) {}

void BoxEvents::RunUntilDismissed() {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, owner_, &attributes) != 0) {
        XSelectInput(display_, owner_, attributes.your_event_mask | FocusChangeMask);
    }
    for (;;) {
        WaitForEvents(display_);
        if (XPending(display_) == 0) {
            return;  // the connection failed
        }
        XEvent event;
        XNextEvent(display_, &event);
        if (Handle(event)) {
            return;
        }
    }
}

bool BoxEvents::Handle(const XEvent& event) {
    switch (event.type) {
        case MapNotify: return Mapped(event.xmap);
        case FocusIn: return Focused(event.xfocus);
        case Expose: return Exposed(event.xexpose);
        case KeyPress: return KeyPressed(event.xkey);
        case ButtonPress: return ButtonPressed(event.xbutton);
        case ButtonRelease: return ButtonReleased(event.xbutton);
        case ClientMessage: return CloseRequested(event.xclient);
        case DestroyNotify: return Destroyed(event.xdestroywindow);
        default: return false;
    }
}

bool BoxEvents::Mapped(const XMapEvent& map) {
    if (map.event != box_) {
        return false;
    }
    // The server reports events in order: every key queued before this was pressed before the box showed.
    shown_ = true;
    // Modal: the keys go to the box while it is up. A window manager gives
    // the focus itself, once the box's frame shows.
    if (!WindowManagerRuns(display_)) {
        XSetInputFocus(display_, box_, RevertToParent, CurrentTime);
    }
    return false;
}

// A window manager may hand the focus to the owner when it is clicked: the
// box takes it back, through the window manager too where one runs (which
// then raises the box).
bool BoxEvents::Focused(const XFocusChangeEvent& focus) {
    if (focus.window != owner_ || focus.detail == NotifyPointer) {
        return false;
    }
    if (WindowManagerSupports(display_, AtomName::NetActiveWindow)) {
        // From the application itself, at the time of the last key or click, the owner having the focus.
        AskWindowManager(display_, box_, AtomName::NetActiveWindow,
                         {1, static_cast<long>(userTime_), static_cast<long>(owner_)});
    }
    // Directly too: a window manager that counts the box as active already
    // ignores the request. The owner has the focus, so the program may move it.
    XSetInputFocus(display_, box_, RevertToParent, CurrentTime);
    return false;
}

bool BoxEvents::Exposed(const XExposeEvent& expose) {
    if (expose.window == box_ && expose.count == 0) {
        paint_();
    }
    return false;
}

bool BoxEvents::KeyPressed(const XKeyEvent& key) {
    if (!shown_) {
        return false;
    }
    userTime_ = key.time;
    XKeyEvent pressed = key;
    return IsDismissKey(XLookupKeysym(&pressed, 0));
}

bool BoxEvents::ButtonPressed(const XButtonEvent& button) {
    userTime_ = button.time;
    pressedInButton_ = OnButton(button);
    return false;
}

// Dismissed by a click whose press and release are both on OK.
bool BoxEvents::ButtonReleased(const XButtonEvent& button) {
    userTime_ = button.time;
    return std::exchange(pressedInButton_, false) && OnButton(button);
}

bool BoxEvents::CloseRequested(const XClientMessageEvent& message) {
    return message.message_type == AtomOf(display_, AtomName::WmProtocols) &&
           static_cast<Atom>(message.data.l[0]) == AtomOf(display_, AtomName::WmDeleteWindow);
}

bool BoxEvents::Destroyed(const XDestroyWindowEvent& destroyed) {
    return destroyed.window == box_;
}

bool BoxEvents::OnButton(const XButtonEvent& button) const {
    return button.window == box_ && button.button == Button1 && button_.Contains({button.x, button.y, 1, 1});
}

}  // namespace desktop
