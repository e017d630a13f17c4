#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "desktop/linux/monitors.h"
#include "desktop/linux/window_manager.h"

namespace desktop {

// What the server says of a window and of the desktop round it at one moment.
struct WindowFacts {
    Rect inside;                 // the window's inside, on the screen
    // The window with what the window manager puts round it, border and all,
    // where the answers tell it; else Frame asks for it.
    std::optional<Rect> frame;
    std::vector<Atom> state;     // its _NET_WM_STATE
    std::vector<Rect> monitors;  // as Xinerama reports them; the whole screen where it reports none
    WindowManagerFacts manager;  // where asked for

    bool InState(Atom atom) const;
    // The monitor that holds area.
    Rect MonitorOf(const Rect& area) const { return desktop::MonitorOf(monitors, area); }
};

// Asks for it all at once, on the window's own connection: one round trip,
// and, where the window manager is asked for and the root names a check
// window, a second. Nothing where the window is gone.
std::optional<WindowFacts> AskAbout(Display* display, Window window, bool withManager);

// The window's frame: as facts tell it, else the root's child that holds the
// window, asked for a level at a time (a window manager that does not say
// what it puts round its windows). Nothing where the window is gone.
std::optional<Rect> Frame(Display* display, Window window, const WindowFacts& facts);

}  // namespace desktop
