#pragma once

#include <X11/Xlib.h>

namespace desktop {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;

    bool operator==(const Rect&) const = default;
    bool Contains(const Rect& inner) const {
        return inner.x >= x && inner.y >= y && inner.x + inner.width <= x + width && inner.y + inner.height <= y + height;
    }
};

// Where window's inside is on the screen.
Rect OnScreen(Display* display, Window window);

// Of the monitors that make up the screen, as Xinerama reports them (servers
// derive them from RandR's monitors; the whole screen is one where it reports
// none), the one that holds the middle of area, or else the one it overlaps
// the most.
Rect MonitorOf(Display* display, const Rect& area);

// Where area goes to lie whole on monitor, moved as little as possible; at
// the monitor's left or top edge where it is too wide or too tall.
Rect KeptOn(const Rect& monitor, Rect area);

}  // namespace desktop
