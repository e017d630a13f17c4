#pragma once

#include <string_view>

// Every way reading a bitmap can end. Inner code returns one of these; only
// the loader turns a failure into a message, once.
enum class DibError {
    kNone,
    kOpenFailed,         // the file's bytes cannot be had
    kUnknownFormat,      // the layout of headers and tables is not one we know
    kConversionError,    // fields, masks or pixel data we cannot convert
    kOutOfMemory,        // too large to hold, or an allocation failed
};

inline constexpr std::string_view kErrorCaption = "Error";

// The message of a failure other than kOpenFailed, whose text carries the file name.
std::string_view DibErrorMessage(DibError error);
