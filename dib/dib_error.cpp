#include "dib/dib_error.h"

std::string_view DibErrorMessage(DibError error) {
    switch (error) {
        case DibError::kNone:
            return {};
        case DibError::kOpenFailed:
            return "Failed to open DIB file.";
        case DibError::kUnknownFormat:
            return "Unknown DIB file format.";
        case DibError::kConversionError:
            return "Image file conversion error.";
        case DibError::kOutOfMemory:
            return "Out of memory.";
    }
    return {};
}
