#pragma once

#include <X11/Xlib.h>

namespace desktop {

// Makes a connection just opened ready where it is GLUT's, opened in glutInit
// (InitGlut), before GLUT uses it: every atom GLUT and the desktop code ask
// for interned in one round trip, and a dead window manager's check window,
// which GLUT would ask whether it is there and take the error as fatal,
// forgotten. Other connections are left as they are. For the stand-in of
// XOpenDisplay (xlib_stand_ins.cpp).
void ReadyGlutConnection(Display* display);

}  // namespace desktop
