#pragma once

#include <bit>
#include <cstdint>

// One colour component of a direct-colour pixel, as its mask describes it.
struct ComponentMask {
    std::uint32_t shift = 0;
    std::uint32_t width = 0;  // 0: the component is 0 everywhere
};

// The mask must be 0 or one contiguous run of set bits.
constexpr ComponentMask DescribeMask(std::uint32_t mask) {
    if (mask == 0) {
        return {};
    }
    return {static_cast<std::uint32_t>(std::countr_zero(mask)), static_cast<std::uint32_t>(std::popcount(mask))};
}

// An n-bit value v as 8 bits: round(v x 255 / (2^n - 1)), halves up, exact in
// integers, so full scale is always 255 (never 248 or 252).
constexpr std::uint8_t ScaleComponent(std::uint32_t value, std::uint32_t width) {
    if (width == 0) {
        return 0;
    }
    const std::uint64_t max = (std::uint64_t{1} << width) - 1;
    return static_cast<std::uint8_t>((2 * std::uint64_t{value} * 255 + max) / (2 * max));
}
