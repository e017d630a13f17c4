#pragma once

#include <string_view>

// Shows text in a small modal window titled caption, with an OK button, and
// returns when the user dismisses it (Return, Esc, Space, OK or closing the
// window). Returns at once when no X display can be opened.
//
// The box belongs to the window the current GL context draws to, if any, and
// stays above it. Closing that window dismisses the box too, and the keys
// typed in it go to the box. Its events while the box is up are used up, so
// the program is meant to end once the box is gone.
void ShowErrorBox(std::string_view caption, std::string_view text);
