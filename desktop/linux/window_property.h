#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace desktop {

// A window's property of that name and type in 32-bit items, which Xlib hands
// over as longs; empty when the window has none of that type, or is gone.
std::vector<long> PropertyItems(Display* display, Window window, const char* name, Atom type);

}  // namespace desktop
