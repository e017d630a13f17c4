#pragma once

#include <string_view>

// Shows text in a small modal window titled caption, with an OK button, and
// returns when the user dismisses it (Return, Esc, Space, OK or closing the
// window). Returns at once when no X display can be opened.
void ShowErrorBox(std::string_view caption, std::string_view text);
