#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "bitmap_builder.h"
#include "image_class/image_class.h"

// A picture or a window's contents as rows of 0xRRGGBB, bottom row first: the
// order the viewer keeps and StoreRows takes, so (x, y) is rows[y][x].
using Rows = std::vector<std::vector<std::uint32_t>>;

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;
// Intensity 4 (dark) and, a little brighter, 5 or 6 (not dark). The last two
// are both inside the box every dark colour lies in (red <= 16, green <= 8,
// blue <= 45), so a quick test on the box alone cannot tell them apart.
inline constexpr std::uint32_t kDarkColours[] = {0x050505, 0x100000, 0x000800, 0x00002D, 0x0A0010};
inline constexpr std::uint32_t kLightColours[] = {0x060606, 0x110000, 0x000900, 0x00002E, 0x0A0014};

inline Rows Flat(int width, int height, std::uint32_t colour) {
    return Rows(height, std::vector<std::uint32_t>(width, colour));
}

// Neighbouring pixels differ, so a shear or a shift shows. Every seventh pixel
// has a colour next to the dark threshold; all others have every component at
// least 32, far from dark.
inline Rows Pattern(int width, int height) {
    Rows rows = Flat(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto part = [&](int a, int b) { return static_cast<std::uint32_t>(32 + (x * a + y * b) % 224); };
            const int nearby = (x + y) / 2 % 5;
            rows[y][x] = (x + 2 * y) % 7 != 0 ? part(37, 11) << 16 | part(5, 29) << 8 | part(13, 7)
                                              : (x + y) % 2 ? kLightColours[nearby] : kDarkColours[nearby];
        }
    }
    return rows;
}

inline void Fill(ImageClass& image, const Rows& rows) {
    for (int y = 0; y < image.SizeY(); ++y) {
        for (int x = 0; x < image.SizeX(); ++x) {
            const std::uint32_t c = rows[y][x];
            image.SetPixel(x, y, static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c));
        }
    }
}

inline Rows Read(const ImageClass& image) {
    Rows rows = Flat(image.SizeX(), image.SizeY(), 0);
    for (int y = 0; y < image.SizeY(); ++y) {
        for (int x = 0; x < image.SizeX(); ++x) {
            std::uint8_t r = 0, g = 0, b = 0;
            image.GetPixel(x, y, r, g, b);
            rows[y][x] = std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
        }
    }
    return rows;
}
