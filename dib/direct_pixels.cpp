#include <algorithm>
#include <array>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)

// Sixteen bytes in and out; only whole pixels inside the row are kept, the
// rest is overwritten by the next store or by the row's scalar tail.
inline __m128i LoadBytes(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void StoreBytes(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// Whole pixels a vector store may cover from pixel x on without passing the
// end of a row of width pixels: 16 bytes from 3 x x must stay within 3 x width.
inline bool VectorFits(std::int32_t x, std::int32_t width) { return x + 6 <= width; }

// In sixteen bytes blue, green, red, ... the five whole pixels become red,
// green, blue: red and blue trade places by shifting the whole register two
// bytes each way, green stays.
inline __m128i SwapBgr5(__m128i v) {
    const __m128i red = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
    const __m128i green = _mm_slli_si128(red, 1);
    const __m128i blue = _mm_slli_si128(red, 2);
    return _mm_or_si128(_mm_and_si128(v, green),
                        _mm_or_si128(_mm_and_si128(_mm_srli_si128(v, 2), red), _mm_and_si128(_mm_slli_si128(v, 2), blue)));
}

// Four 32-bit pixels blue, green, red, x as twelve bytes red, green, blue
// (and four zero bytes).
inline __m128i PackBgrx4(__m128i v) {
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i rgb = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 16), lowByte), _mm_and_si128(v, _mm_set1_epi32(0xFF00))),
        _mm_slli_epi32(_mm_and_si128(v, lowByte), 16));
    // Two pixels of each 64-bit half side by side in its low six bytes...
    const __m128i pairs = _mm_or_si128(_mm_and_si128(rgb, _mm_set1_epi64x(0xFFFFFF)),
                                       _mm_and_si128(_mm_srli_epi64(rgb, 8), _mm_set1_epi64x(0xFFFFFF000000)));
    // ...then the upper half's six bytes right after the lower half's.
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_srli_si128(pairs, 8), 6));
}

#endif

// Tables of every possible value pay off only on pictures with more pixels
// than a 16-bit table has entries; a small picture scales its pixels directly.
constexpr std::uint64_t kTableWorthPixels = std::uint64_t{1} << 16;

bool WorthTables(const DibLayout& layout) {
    return std::uint64_t{static_cast<std::uint32_t>(layout.width)} * layout.rows >= kTableWorthPixels;
}

// A mask's component as 8 bits, through a table when asked for one and the
// component is narrow enough (always so for 16-bit pixels).
class ComponentReader {
public:
    ComponentReader(std::uint32_t mask, bool withTable) : component_(DescribeMask(mask)) {
        valueMask_ = static_cast<std::uint32_t>((std::uint64_t{1} << component_.width) - 1);
        if (withTable && component_.width <= kMaxTableBits) {
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
    MaskReaders(const DibLayout& layout, bool withTables)
        : red(layout.masks[0], withTables), green(layout.masks[1], withTables), blue(layout.masks[2], withTables) {}
    PackedRgb operator()(std::uint32_t pixel) const { return PackRgb(red(pixel), green(pixel), blue(pixel)); }
    ComponentReader red, green, blue;
};

void DecodeMasked16(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const std::int32_t width = layout.width;
    if (!WorthTables(layout)) {
        const MaskReaders readers(layout, false);
        ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
            StoreRow(dst, width, [&](std::int32_t x) { return readers(LoadU16(src + 2 * x)); });
        });
        return;
    }
    // Every 16-bit value's colour, worked out once: a 256 KB table is far
    // cheaper than three scalings per pixel on a large picture.
    const MaskReaders readers(layout, true);
    std::vector<PackedRgb> colors(std::size_t{1} << 16);
    for (std::uint32_t v = 0; v < colors.size(); ++v) {
        colors[v] = readers(v);
    }
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        StoreRow(dst, width, [&](std::int32_t x) { return colors[LoadU16(src + 2 * x)]; });
    });
}

void DecodeMasked32(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const std::int32_t width = layout.width;
    // The default layout is plain bytes blue, green, red and one unused: no scaling.
    if (std::ranges::equal(layout.masks, kDefaultMasks32)) {
        ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
            std::int32_t x = 0;
#if defined(__SSE2__)
            for (; VectorFits(x, width); x += 4) {
                StoreBytes(dst + 3 * x, PackBgrx4(LoadBytes(src + 4 * x)));
            }
#endif
            StoreRow(dst + 3 * x, width - x, [&](std::int32_t i) { return SwapBgr(LoadWord(src + 4 * (x + i))); });
        });
        return;
    }
    const MaskReaders readers(layout, WorthTables(layout));
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        StoreRow(dst, width, [&](std::int32_t x) { return readers(LoadU32(src + 4 * x)); });
    });
}

}  // namespace

void DecodeBgr24Pixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    const std::int32_t width = layout.width;
    const std::int32_t last = width - 1;
    ForEachStoredRow(layout, file, out, [&](const std::uint8_t* src, std::uint8_t* dst) {
        std::int32_t x = 0;
#if defined(__SSE2__)
        for (; VectorFits(x, width); x += 5) {
            StoreBytes(dst + 3 * x, SwapBgr5(LoadBytes(src + 3 * x)));
        }
#endif
        // The word of each pixel but the last stays inside its own row.
        for (; x < last; ++x) {
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
