#pragma once

#include <cstdint>
#include <cstring>

// A colour packed as red | green << 8 | blue << 16, so that its first three
// little-endian bytes are the output's red, green, blue. The top byte is
// always 0, so packed colours can be shifted together without masking.
using PackedRgb = std::uint32_t;

constexpr PackedRgb PackRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

inline void StoreRgb(std::uint8_t* dst, PackedRgb rgb) {
    dst[0] = static_cast<std::uint8_t>(rgb);
    dst[1] = static_cast<std::uint8_t>(rgb >> 8);
    dst[2] = static_cast<std::uint8_t>(rgb >> 16);
}

// Writes four bytes, the fourth of which the next pixel overwrites: one store
// instead of three. Only for pixels that are not the last of their row.
inline void StoreRgbWide(std::uint8_t* dst, PackedRgb rgb) {
    std::memcpy(dst, &rgb, 4);
}

// Four pixels as twelve bytes in two stores.
inline void StoreRgb4(std::uint8_t* dst, PackedRgb a, PackedRgb b, PackedRgb c, PackedRgb d) {
    const std::uint64_t low = std::uint64_t{a} | std::uint64_t{b} << 24 | std::uint64_t{c} << 48;
    const std::uint32_t high = c >> 16 | d << 8;
    std::memcpy(dst, &low, 8);
    std::memcpy(dst + 8, &high, 4);
}

// Stores a row of width pixels, taking each from pixelAt(x).
template <typename PixelAt>
inline void StoreRow(std::uint8_t* dst, std::int32_t width, PixelAt pixelAt) {
    std::int32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        StoreRgb4(dst + 3 * x, pixelAt(x), pixelAt(x + 1), pixelAt(x + 2), pixelAt(x + 3));
    }
    for (; x < width; ++x) {
        StoreRgb(dst + 3 * x, pixelAt(x));
    }
}
