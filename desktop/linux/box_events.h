#pragma once

#include <X11/Xlib.h>

#include <functional>

#include "desktop/linux/monitors.h"

namespace desktop {

// What the error box does with each event on its connection while it is up.
// The owner's events come here too, and nothing else reads them meanwhile:
// the owner passes its keys on to the box, a request to close it ends the
// box as one to close the box does, and the focus it gets goes on to the
// box. Keys pressed before the box showed, while the program was busy, were
// not meant for it: they do nothing.
class BoxEvents {
public:
    // button is the box's OK button, in the box's own coordinates; paint
    // draws the whole box.
    BoxEvents(Display* display, Window box, Window owner, const Rect& button, std::function<void()> paint);

    // Handles events until the box is dismissed or the connection fails.
    void RunUntilDismissed();

private:
    // Each handler tells whether the event dismisses the box.
    bool Handle(const XEvent& event);
    bool Mapped(const XMapEvent& map);
    bool Focused(const XFocusChangeEvent& focus);
    bool Exposed(const XExposeEvent& expose);
    bool KeyPressed(const XKeyEvent& key);
    bool ButtonPressed(const XButtonEvent& button);
    bool ButtonReleased(const XButtonEvent& button);
    bool CloseRequested(const XClientMessageEvent& message);
    bool Destroyed(const XDestroyWindowEvent& destroyed);

    bool OnButton(const XButtonEvent& button) const;

    Display* display_;
    Window box_;
    Window owner_;
    Rect button_;
    std::function<void()> paint_;
    bool shown_ = false;            // the box has mapped
    bool pressedInButton_ = false;  // the first button went down on OK
    Time userTime_ = CurrentTime;   // of the last key or click
};

}  // namespace desktop
