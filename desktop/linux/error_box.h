#pragma once

#include <X11/Xlib.h>

#include <string_view>

namespace desktop {

// Shows text in a small modal dialog of owner, titled caption, with an OK
// button, and returns when the user dismisses it (Return, Enter, Esc, Space,
// a click on OK or closing the box), when the box is destroyed, or when the
// connection fails. display is the owner's connection.
//
// The box stays above its owner. Closing the owner dismisses the box too, and
// the keys typed in the owner go to the box. The owner's events while the box
// is up are used up, so the program is meant to end once the box is gone.
void ShowErrorBox(Display* display, Window owner, std::string_view caption, std::string_view text);

}  // namespace desktop
