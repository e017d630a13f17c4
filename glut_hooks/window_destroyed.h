#pragma once

#include <X11/Xlib.h>

namespace glut_hooks {

// Makes another client's destroying GLUT's window, on display, reach GLUT as
// a request to close it, as closing it through the window system does.
void CloseWhenDestroyed(Display* display, Window window);

}  // namespace glut_hooks
