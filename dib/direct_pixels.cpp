#include <array>
#include <vector>

#include "dib/component_scale.h"
#include "dib/pixel_decoders.h"
#include "dib/pixel_store.h"
#include "dib/stored_rows.h"

namespace {

// Bytes blue, green, red (and one more) read as one little-endian word give
// red, green, blue once byte-swapped and shifted: one load, one store a pixel.
inline PackedRgb SwapBgr(std::uint32_t bgrx) { return __builtin_bswap32(bgrx) >> 8; }

inline std::uint32_t LoadWord(const std::uint8_t* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;  // the loader runs on little-endian machines only
}

// A mask's component as 8 bits, through a table when the component is narrow
// enough for one (always so for 16-bit pixels).
class ComponentReader {
public:
    explicit ComponentReader(std::uint32_t mask) : component_(DescribeMask(mask)) {
        valueMask_ = static_cast<std::uint32_t>((std::uint64_t{1} << component_.width) - 1);
        if (component_.width <= kMaxTableBits) {
            table_.resize(std::size_t{1} << component_.width);
            for (std::uint32_t v = 0; v < table_.size(); ++v) {
                table_[v] = ScaleComponent(v, component_.width);
            }
        }
    }

    std::uint32_t operator()(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel >> component_.shift) & valueMask_;
        return table_.empty() ? ScaleComponent(value, component_.width) : table_[value];
    }

private:
    static constexpr std::uint32_t kMaxTableBits = 16;
    ComponentMask component_;
    std::uint32_t valueMask_ = 0;
    std::vector<std::uint8_t> table_;
};

struct MaskReaders {
    explicit MaskReaders(const DibLayout& layout)
        : red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]) {}
    PackedRgb operator()(std::uint32_t pixel) const { return PackRgb(red(pixel), green(pixel), blue(pixel)); }
    ComponentReader red, green, blue;
};

void DecodeMasked16(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    // Every 16-bit value's colour, worked out once: a 256 KB table is far
    // cheaper than three scalings per pixel on any picture worth timing.
    const MaskReaders readers(layout);
    std::vector<PackedRgb> colors(std::size_t{1} << 16);
    for (std::uint32_t v = 0; v < colors.size(); ++v) {
        colors[v] = readers(v);
    }
    const std::int32_t width = layout.width;
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        StoreRow(dst, width, [&](std::int32_t x) { return colors[LoadU16(src + 2 * x)]; });
    });
}

void DecodeMasked32(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const std::int32_t width = layout.width;
    const bool plainBytes = layout.masks[0] == 0x00FF0000 && layout.masks[1] == 0x0000FF00 &&
                            layout.masks[2] == 0x000000FF;
    if (plainBytes) {
        ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
            StoreRow(dst, width, [&](std::int32_t x) { return SwapBgr(LoadWord(src + 4 * x)); });
        });
        return;
    }
    const MaskReaders readers(layout);
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        StoreRow(dst, width, [&](std::int32_t x) { return readers(LoadU32(src + 4 * x)); });
    });
}

}  // namespace

void DecodeBgr24Pixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const std::int32_t last = layout.width - 1;
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        // The word of each pixel but the last stays inside its own row.
        for (std::int32_t x = 0; x < last; ++x) {
            StoreRgbWide(dst + 3 * x, SwapBgr(LoadWord(src + 3 * x)));
        }
        const std::uint8_t* bgr = src + 3 * last;
        StoreRgb(dst + 3 * last, PackRgb(bgr[2], bgr[1], bgr[0]));
    });
}

void DecodeMaskedPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    if (layout.bitCount == 16) {
        DecodeMasked16(layout, file, out);
    } else {
        DecodeMasked32(layout, file, out);
    }
}
