#pragma once

#include <concepts>
#include <cstdint>
#include <string>
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

// The message a failure shows. Only the open failure's carries the file name.
std::string DibErrorMessage(DibError error, std::string_view name = {});

// A failure and, for whoever asks why, one line naming the field, code or
// offset, the value found and what would have been read. The user sees only
// the message; the reason is for dibdump -v and tests.
struct DibRefusal {
    DibError error = DibError::kNone;
    std::string reason;

    explicit operator bool() const { return error != DibError::kNone; }
};

// A reason from pieces of text and numbers, written one after the other.
template <typename... Pieces>
std::string Reason(const Pieces&... pieces) {
    std::string text;
    const auto append = [&text](const auto& piece) {
        if constexpr (std::integral<std::decay_t<decltype(piece)>>) {
            text += std::to_string(piece);
        } else {
            text += piece;
        }
    };
    (append(pieces), ...);
    return text;
}

// A mask as eight hexadecimal digits, as masks are usually written.
std::string Hex32(std::uint32_t value);
