#pragma once

#include <X11/Xlib.h>

namespace desktop {

// The dots per inch the desktop asks text to be drawn at: Xft.dpi in the
// resources on the root window, read afresh on each call (a desktop may
// change it while the program runs). 96 where it is unset or not a number;
// kept within 24 to 960, so that a stray value cannot make text vanish or
// sizes overflow.
double DesktopDpi(Display* display);

}  // namespace desktop
