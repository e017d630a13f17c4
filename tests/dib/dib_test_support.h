#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap_builder.h"
#include "dib/dib_loader.h"

inline Rgb PixelAt(const RgbImageRecord& image, int x, int y) {
    const std::uint8_t* p = image.data.get() + 3 * (static_cast<std::size_t>(y) * image.sizeX + x);
    return {p[0], p[1], p[2]};
}

inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}

inline std::vector<Rgb> AllPixels(const RgbImageRecord& image) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < image.sizeY; ++y) {
        for (int x = 0; x < image.sizeX; ++x) {
            pixels.push_back(PixelAt(image, x, y));
        }
    }
    return pixels;
}
