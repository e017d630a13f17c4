#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

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

// For the stand-ins of the Xlib functions GLUT calls as it makes the window
// (xlib_stand_ins.cpp); each tells of the window CreateDesktopWindow is
// making, and nothing while it makes none.

// The title it is to have.
const char* TitleOfWindowBeingMade();

// The pixel of its background on visual, where the visual's pixels hold
// their colour, as the GL's RGB visuals do: no colour need be asked of the
// server.
std::optional<unsigned long> BackgroundOfWindowBeingMade(Display* display, const Visual* visual);

// Once GLUT has described it through Xlib: names it for the desktop beyond
// that, and keeps it as the window made.
void WindowBeingMadeDescribed(Display* display, Window window);

}  // namespace desktop
