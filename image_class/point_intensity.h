#pragma once

#include <cstdint>

// 0.3 red + 0.59 green + 0.11 blue, each product and each sum rounded to
// double on its own, in that order, then truncated. The weights are not exact
// in binary, so some greys (v, v, v) come out as v - 1; what is dark depends on
// exactly those values. The build forbids contracting this into fused
// multiply-adds.
inline std::int32_t PointIntensity(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    double sum = red * 0.3;
    sum = sum + green * 0.59;
    sum = sum + blue * 0.11;
    return static_cast<std::int32_t>(sum);
}
