#pragma once

#include <cstdint>

#include "image_record/pixel_buffer.h"

// A packed picture: sizeY rows of sizeX pixels, three bytes each (red, green,
// blue), bottom row first, no padding between rows: what glDrawPixels reads
// with an unpack alignment of 1.
struct RgbImageRecord {
    std::int32_t sizeX = 0;
    std::int32_t sizeY = 0;
    PixelBuffer data;  // 3 * sizeX * sizeY bytes
};
