#include "app/dark_colours.h"

#include "app/mark_dark_pixels.h"
#include "image/point_intensity.h"

DarkColours::DarkColours() {
    for (std::uint32_t r = 0; r <= kMaxRed; ++r) {
        for (std::uint32_t g = 0; g <= kMaxGreen; ++g) {
            for (std::uint32_t b = 0; b <= kMaxBlue; ++b) {
                const bool dark = PointIntensity(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                                 static_cast<std::uint8_t>(b)) < kDarkThreshold;
                keep_[(r * (kMaxGreen + 1) + g) * (kMaxBlue + 1) + b] = dark ? 0x00 : 0xFF;
            }
        }
    }
}
