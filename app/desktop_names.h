#pragma once

// No GLUT callbacks here: Xlib defines a type named Display.
#include <X11/Xlib.h>

#include <string_view>

// The names desktops find the viewer's windows by (task bars, window rules,
// `xdotool search --class`, `wmctrl -x`): WM_CLASS's instance and class.
inline constexpr char kWindowInstanceName[] = "image-border";
inline constexpr char kWindowClassName[] = "ImageBorder";

// Gives a window that is not yet mapped what a desktop reads as it takes it
// on: the viewer's class, the title in UTF-8, the process and host it belongs
// to, and the viewer's icon.
void NameForDesktop(::Display* display, Window window, std::string_view title);
