#pragma once

#include <array>
#include <cstdint>

// Which colours the dark-pixel pass marks: those whose intensity is below 5,
// decided without a floating-point sum per pixel.
//
// Every term of the intensity is non-negative, so a dark colour has red
// <= 16, green <= 8 and blue <= 45 (17 x 0.3, 9 x 0.59 and 46 x 0.11 each
// reach 5 alone). Colours outside that box are never dark; inside it, a table
// built from the intensity itself decides, so the answer is the same as
// computing it.
class DarkColours {
public:
    static constexpr std::uint32_t kMaxRed = 16;
    static constexpr std::uint32_t kMaxGreen = 8;
    static constexpr std::uint32_t kMaxBlue = 45;

    DarkColours();

    bool IsDark(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
        return red <= kMaxRed && green <= kMaxGreen && blue <= kMaxBlue && KeepMaskInBox(red, green, blue) == 0;
    }

    // For a colour inside the box: 0x00 when it is dark, 0xFF when not, to AND
    // into a pixel's bytes without a branch.
    std::uint8_t KeepMaskInBox(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
        return keep_[(red * (kMaxGreen + 1) + green) * (kMaxBlue + 1) + blue];
    }

private:
    std::array<std::uint8_t, (kMaxRed + 1) * (kMaxGreen + 1) * (kMaxBlue + 1)> keep_{};
};
