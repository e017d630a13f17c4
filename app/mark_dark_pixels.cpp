#include "app/mark_dark_pixels.h"

#include <cassert>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/dark_colours.h"
#include "image/image_class.h"

namespace {

constexpr std::size_t kBlockPixels = 16;  // 48 bytes: three SSE2 registers

inline void MarkIfDark(const DarkColours& dark, const std::uint8_t* src, std::uint8_t* dst) {
    if (dark.IsDark(src[0], src[1], src[2])) {
        dst[0] = dst[1] = dst[2] = 0;
    }
}

#if defined(__SSE2__)

// Bits 0, 3, 6, ... 45 set: the red byte of each of a block's 16 pixels.
constexpr std::uint64_t kFirstBytes = 0x249249249249;

// One bit per byte of 16 pixels, set where the byte is within the dark box's
// limit for its component (red, green, blue repeating).
inline std::uint64_t BytesWithinBox(const std::uint8_t* src) {
    constexpr char r = DarkColours::kMaxRed, g = DarkColours::kMaxGreen, b = DarkColours::kMaxBlue;
    const __m128i limits[3] = {
        _mm_setr_epi8(r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r),
        _mm_setr_epi8(g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g),
        _mm_setr_epi8(b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b),
    };
    std::uint64_t within = 0;
    for (int i = 0; i < 3; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16 * i));
        // A byte is at most its limit exactly when subtracting the limit saturates to 0.
        const __m128i over = _mm_subs_epu8(bytes, limits[i]);
        const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(over, _mm_setzero_si128())));
        within |= std::uint64_t{bits} << (16 * i);
    }
    return within;
}

#endif

}  // namespace

void MarkDarkPixels(const ImageClass& source, ImageClass& result) {
    assert(source.SizeX() == result.SizeX() && source.SizeY() == result.SizeY());
    static const DarkColours dark;
    // Which pixel is visited when cannot be seen, so both buffers are walked
    // once in memory order. Almost every pixel of a picture lies outside the
    // dark box; sixteen at a time are ruled out together, and only the few
    // inside it are looked up one by one.
    const std::size_t pixels = static_cast<std::size_t>(source.SizeX()) * static_cast<std::size_t>(source.SizeY());
    const std::uint8_t* src = source.Data();
    std::uint8_t* dst = result.Data();
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + kBlockPixels <= pixels; i += kBlockPixels) {
        const std::uint64_t within = BytesWithinBox(src + 3 * i);
        std::uint64_t candidates = within & (within >> 1) & (within >> 2) & kFirstBytes;
        while (candidates != 0) {
            const std::size_t byte = 3 * i + static_cast<std::size_t>(__builtin_ctzll(candidates));
            // Dark or not is a coin toss on dark noise: no branch on it.
            const std::uint8_t keep = dark.KeepMaskInBox(src[byte], src[byte + 1], src[byte + 2]);
            dst[byte] &= keep;
            dst[byte + 1] &= keep;
            dst[byte + 2] &= keep;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; i < pixels; ++i) {
        MarkIfDark(dark, src + 3 * i, dst + 3 * i);
    }
}
