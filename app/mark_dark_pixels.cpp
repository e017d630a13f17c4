#include "app/mark_dark_pixels.h"

#include <cassert>

#include "image/image_class.h"

void MarkDarkPixels(const ImageClass& source, ImageClass& result) {
    assert(source.SizeX() == result.SizeX() && source.SizeY() == result.SizeY());
    const std::int32_t width = source.SizeX();
    const std::int32_t height = source.SizeY();
    // Rows outer: the buffers are stored row after row.
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            if (source.GetPointIntensity(x, y) < kDarkThreshold) {
                result.SetPixel(x, y, 0, 0, 0);
            }
        }
    }
}
