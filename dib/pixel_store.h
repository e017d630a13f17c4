#pragma once

#include <cstdint>
#include <cstring>

// A colour packed as red | green << 8 | blue << 16, so that its first three
// little-endian bytes are the output's red, green, blue.
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

// Stores a row of width pixels (width >= 1), taking each from pixelAt(x).
template <typename PixelAt>
inline void StoreRow(std::uint8_t* dst, std::int32_t width, PixelAt pixelAt) {
    const std::int32_t last = width - 1;
    for (std::int32_t x = 0; x < last; ++x) {
        StoreRgbWide(dst + 3 * x, pixelAt(x));
    }
    StoreRgb(dst + 3 * last, pixelAt(last));
}
