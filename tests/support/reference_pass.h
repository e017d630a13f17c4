#pragma once

#include <cstdint>

#include "dark_pass/mark_dark_run.h"
#include "image_class/image_class.h"

// The dark-pixel pass as first written: column by column, each pixel's
// intensity asked and each mark set through ImageClass. The fast pass must
// mark exactly what it marks, and is timed against it.
inline void ReferencePass(const ImageClass& source, ImageClass& result) {
    for (std::int32_t x = 0; x < source.SizeX(); ++x) {
        for (std::int32_t y = 0; y < source.SizeY(); ++y) {
            if (source.GetPointIntensity(x, y) < kDarkThreshold) {
                result.SetPixel(x, y, 0, 0, 0);
            }
        }
    }
}
