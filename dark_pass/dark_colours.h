#pragma once

#include <cstdint>

#include "dark_pass/mark_dark_run.h"

// Which colours the dark-pixel pass marks, in integers only, so that sixteen
// pixels or more can be decided at once.
//
// With sum = 30 red + 59 green + 11 blue, the intensity is below 5 exactly
// when sum < 500, except for two colours whose sum is 500 that the double
// computation puts at 4.999999999999999: (5, 5, 5) and (12, 2, 2). Those have
// blue 5 and 2; the six other colours on 500 have blue 10 or more. So a colour
// is dark when its key, 256 sum + blue, is below 256 x 500 + 6. The pass tests
// check that against the intensity for every colour.
static_assert(kDarkThreshold == 5, "the key and its limit hold for 5 only");

inline constexpr std::int32_t kRedWeight = 30;
inline constexpr std::int32_t kGreenWeight = 59;
inline constexpr std::int32_t kBlueWeight = 11;
inline constexpr std::int32_t kDarkKeyLimit = 256 * 500 + 6;

constexpr std::int32_t DarkKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 256 * (kRedWeight * red + kGreenWeight * green) + (256 * kBlueWeight + 1) * blue;
}

constexpr bool IsDarkColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return DarkKey(red, green, blue) < kDarkKeyLimit;
}

// Every weight is positive, so a dark colour has red <= 16, green <= 8 and
// blue <= 45: one more reaches the limit alone.
inline constexpr std::uint8_t kMaxDarkRed = 16;
inline constexpr std::uint8_t kMaxDarkGreen = 8;
inline constexpr std::uint8_t kMaxDarkBlue = 45;
static_assert(IsDarkColour(kMaxDarkRed, 0, 0) && !IsDarkColour(kMaxDarkRed + 1, 0, 0));
static_assert(IsDarkColour(0, kMaxDarkGreen, 0) && !IsDarkColour(0, kMaxDarkGreen + 1, 0));
static_assert(IsDarkColour(0, 0, kMaxDarkBlue) && !IsDarkColour(0, 0, kMaxDarkBlue + 1));
