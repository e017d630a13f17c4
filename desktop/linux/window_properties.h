#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace desktop {

// GLUT's window as the X server knows it.
struct DesktopWindow {
    Display* display = nullptr;  // none where GLUT never told
    Window window = 0;
};

// glutCreateWindow(title), with what a desktop reads as it takes the window
// on already there when GLUT maps it: the viewer's class, the title in UTF-8,
// the process, the icon, and background (0xRRGGBB) wherever nothing is drawn
// yet. Returns the window GLUT described to the window manager, as GLUT's
// call handed it over; its GL context is current.
DesktopWindow CreateDesktopWindow(const char* title, std::uint32_t background);

}  // namespace desktop
