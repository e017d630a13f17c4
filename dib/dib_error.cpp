#include "dib/dib_error.h"

#include <cstdio>

std::string DibErrorMessage(DibError error, std::string_view name) {
    switch (error) {
        case DibError::kNone:
            return {};
        case DibError::kOpenFailed:
            // Built as a string, so a name of any length is shown whole.
            return Reason("Failed to open DIB file ", name, ".\n");
        case DibError::kUnknownFormat:
            return "Unknown DIB file format.";
        case DibError::kConversionError:
            return "Image file conversion error.";
        case DibError::kOutOfMemory:
            return "Out of memory.";
    }
    return {};
}

std::string Hex32(std::uint32_t value) {
    char digits[11];
    std::snprintf(digits, sizeof digits, "0x%08X", value);
    return digits;
}
