#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string_view>

// The class desktops find the viewer's windows by (task bars, window rules,
// `xdotool search --class`, `wmctrl -x`): instance "image-border", class
// "ImageBorder", for XSetWMProperties, which also names the host.
namespace desktop {

XClassHint* ViewerClass();

// Gives a window that is not yet mapped what a desktop reads as it takes it
// on, beyond what XSetWMProperties sets: the title in UTF-8, the process it
// belongs to and the viewer's icon.
void NameForDesktop(Display* display, Window window, std::string_view title);

}  // namespace desktop
