#pragma once

#include <string>

// A null-terminated UTF-16 string as UTF-8. A lone surrogate becomes U+FFFD,
// so any name can still be opened or shown.
std::string Utf16ToUtf8(const char16_t* text);
