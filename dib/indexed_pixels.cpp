#include <array>
#include <cstring>

#include "dib/palette.h"
#include "dib/pixel_decoders.h"
#include "dib/pixel_store.h"
#include "dib/stored_rows.h"

namespace {

constexpr std::size_t kEightPixelBytes = 8 * 3;

// 1 bit per pixel: each source byte is eight whole pixels, so the 24 output
// bytes of every possible byte are worked out once and copied.
void DecodeIndexed1(const DibLayout& layout, ByteSpan file, const Palette& palette, std::uint8_t* out) {
    std::array<std::array<std::uint8_t, kEightPixelBytes>, 256> eights;
    for (std::uint32_t byte = 0; byte < eights.size(); ++byte) {
        for (std::uint32_t i = 0; i < 8; ++i) {
            StoreRgb(eights[byte].data() + 3 * i, palette[(byte >> (7 - i)) & 1]);
        }
    }
    const std::int32_t width = layout.width;
    const std::int32_t wholeBytes = width / 8;
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        for (std::int32_t i = 0; i < wholeBytes; ++i) {
            std::memcpy(dst + kEightPixelBytes * i, eights[src[i]].data(), kEightPixelBytes);
        }
        for (std::int32_t x = 8 * wholeBytes; x < width; ++x) {
            StoreRgb(dst + 3 * x, palette[(src[x >> 3] >> (7 - (x & 7))) & 1]);
        }
    });
}

}  // namespace

// 1, 4 and 8 bits per pixel, the leftmost pixel in a byte's most significant bits.
void DecodeIndexedPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const Palette palette = ReadPalette(layout, file);
    const std::int32_t width = layout.width;
    switch (layout.format) {
        case PixelFormat::kIndexed1:
            DecodeIndexed1(layout, file, palette, out);
            break;
        case PixelFormat::kIndexed4:
            ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                StoreRow(dst, width, [&](std::int32_t x) { return palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF]; });
            });
            break;
        default:
            ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                StoreRow(dst, width, [&](std::int32_t x) { return palette[src[x]]; });
            });
            break;
    }
}
