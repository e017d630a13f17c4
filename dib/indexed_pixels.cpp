#include "dib/palette.h"
#include "dib/pixel_decoders.h"
#include "dib/pixel_store.h"
#include "dib/stored_rows.h"

// 1, 4 and 8 bits per pixel, the leftmost pixel in a byte's most significant bits.
void DecodeIndexedPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const Palette palette = ReadPalette(layout, file);
    const std::int32_t width = layout.width;
    switch (layout.format) {
        case PixelFormat::kIndexed1:
            ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
                StoreRow(dst, width, [&](std::int32_t x) { return palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; });
            });
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
