#pragma once

// Xlib's Display, named by its tag: a GLUT callback here is named Display too.
struct _XDisplay;

// Whether a window manager runs that follows the desktop conventions (EWMH)
// and lists hint, such as "_NET_ACTIVE_WINDOW", among what it supports.
bool WindowManagerSupports(_XDisplay* display, const char* hint);

// Whether GLUT's window goes full screen through the window manager, which
// then puts the window back where it was when it leaves full screen.
bool WindowManagerDoesFullScreen();
