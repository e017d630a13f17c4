#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture as the viewer holds it: rows bottom first, red-green-blue bytes.
struct TestPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;  // 3 * width * height

    std::uint32_t At(std::int32_t x, std::int32_t y) const;  // 0xRRGGBB
    void Set(std::int32_t x, std::int32_t y, std::uint32_t colour);
};

// Colours on either side of the dark threshold: the first are dark (intensity
// 4), the second, one step brighter, are not (intensity 5 or 6).
inline constexpr std::uint32_t kDarkColours[] = {0x050505, 0x100000, 0x000800, 0x00002D};
inline constexpr std::uint32_t kLightColours[] = {0x060606, 0x110000, 0x000900, 0x00002E};

// A width x height picture whose neighbouring pixels differ, so a shear or a
// shift shows; every seventh pixel is one of the colours above, and all the
// others are far from dark.
TestPicture MakePatternPicture(std::int32_t width, std::int32_t height);
TestPicture MakeFlatPicture(std::int32_t width, std::int32_t height, std::uint32_t colour);

// A 24-bit bitmap file: 14-byte file header, 40-byte info header, rows padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp(const TestPicture& picture);
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);

// Reads back a file of the kind EncodeBmp writes (24-bit, 40-byte header,
// bottom row first); throws on anything else.
TestPicture DecodeBmp24(const std::vector<std::uint8_t>& file);
