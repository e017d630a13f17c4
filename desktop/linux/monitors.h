#pragma once

#include <vector>

namespace desktop {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;

    bool operator==(const Rect&) const = default;
    bool Contains(const Rect& inner) const {
        return inner.x >= x && inner.y >= y && inner.x + inner.width <= x + width && inner.y + inner.height <= y + height;
    }
};

// Of monitors, the one that holds the middle of area, or else the one it
// overlaps the most. monitors is not empty.
Rect MonitorOf(const std::vector<Rect>& monitors, const Rect& area);

// Where area goes to lie whole on monitor, moved as little as possible; at
// the monitor's left or top edge where it is too wide or too tall.
Rect KeptOn(const Rect& monitor, Rect area);

// Where a window of width x height goes (a dialog, border and all) where
// nobody else places it: in the middle of over where it fits there, else in
// the middle of monitor; whole on monitor either way, never across two.
Rect PlacedOver(const Rect& over, const Rect& monitor, int width, int height);

}  // namespace desktop
