#include "dark_pass/dark_pass_kernels.h"

#if defined(__SSE2__) && !defined(IMAGE_BORDER_PLAIN_CXX)

#include <emmintrin.h>

#include <array>

#include "dark_pass/dark_colours.h"

namespace {

constexpr std::size_t kBlockPixels = 16;  // 48 bytes: three SSE2 registers

// Bits 0, 3, 6, ... 45 set: the red byte of each of a block's 16 pixels.
constexpr std::uint64_t kFirstBytes = 0x249249249249;

// Whether some pixel of the block lies in the box that holds every dark
// colour. On a light picture almost no block does, and that costs less to
// learn than the keys.
inline bool MayHoldDark(const std::uint8_t* block) {
    constexpr char r = kMaxDarkRed, g = kMaxDarkGreen, b = kMaxDarkBlue;
    const __m128i limits[3] = {
        _mm_setr_epi8(r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r),
        _mm_setr_epi8(g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g),
        _mm_setr_epi8(b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b),
    };
    std::uint64_t within = 0;
    for (int i = 0; i < 3; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        // A byte is at most its limit exactly when subtracting the limit saturates to 0.
        const __m128i over = _mm_subs_epu8(bytes, limits[i]);
        const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(over, _mm_setzero_si128())));
        within |= std::uint64_t{bits} << (16 * i);
    }
    return (within & (within >> 1) & (within >> 2) & kFirstBytes) != 0;
}

// Two pixels in the low 6 bytes of each 64-bit half to one pixel in each
// 32-bit lane, red lowest and 0 on top.
inline __m128i Spread(__m128i pairs) {
    const __m128i firstOfPair = _mm_set1_epi64x(0x0000'0000'00FF'FFFF);
    const __m128i secondOfPair = _mm_set1_epi64x(0x00FF'FFFF'0000'0000);
    return _mm_or_si128(_mm_and_si128(pairs, firstOfPair), _mm_and_si128(_mm_slli_epi64(pairs, 8), secondOfPair));
}

// -1 in the lanes of the dark pixels.
inline __m128i DarkLanes(__m128i pixels) {
    const __m128i redBlue = _mm_and_si128(pixels, _mm_set1_epi32(0x00FF00FF));
    const __m128i green = _mm_srli_epi16(pixels, 8);
    const __m128i redBlueWeights = _mm_set1_epi32((256 * kBlueWeight + 1) << 16 | 256 * kRedWeight);
    const __m128i key = _mm_add_epi32(_mm_madd_epi16(redBlue, redBlueWeights),
                                      _mm_madd_epi16(green, _mm_set1_epi32(256 * kGreenWeight)));
    return _mm_cmplt_epi32(key, _mm_set1_epi32(kDarkKeyLimit));
}

inline __m128i Load8(const std::uint8_t* bytes) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes)); }

// Bit p set when pixel p of the block is dark.
inline std::uint32_t DarkBits(const std::uint8_t* block) {
    const auto fourAt = [block](std::size_t pixel) {
        return DarkLanes(Spread(_mm_unpacklo_epi64(Load8(block + 3 * pixel), Load8(block + 3 * pixel + 6))));
    };
    // The last two pixels are loaded from 2 bytes before them, so that no load
    // reaches past the block.
    const __m128i lastTwo = _mm_srli_epi64(Load8(block + 40), 16);
    const __m128i last = DarkLanes(Spread(_mm_unpacklo_epi64(Load8(block + 36), lastTwo)));
    const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(fourAt(0), fourAt(4)), _mm_packs_epi32(fourAt(8), last));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(bytes));
}

// For each way eight pixels can be dark or not, their 24 bytes to AND in:
// 0x00 for the bytes of a dark pixel, 0xFF for the others.
constexpr std::array<std::array<std::uint8_t, 32>, 256> MakeKeepBytes() {
    std::array<std::array<std::uint8_t, 32>, 256> table{};
    for (std::size_t darkBits = 0; darkBits < 256; ++darkBits) {
        for (std::size_t byte = 0; byte < 24; ++byte) {
            table[darkBits][byte] = (darkBits >> (byte / 3) & 1) != 0 ? 0x00 : 0xFF;
        }
    }
    return table;
}

alignas(16) constexpr std::array<std::array<std::uint8_t, 32>, 256> kKeepBytes = MakeKeepBytes();

// Blackens the dark ones of eight pixels, given their bits.
inline void BlackenEight(std::uint8_t* pixels, std::uint32_t darkBits) {
    const std::uint8_t* keep = kKeepBytes[darkBits].data();
    auto* first = reinterpret_cast<__m128i*>(pixels);
    auto* rest = reinterpret_cast<__m128i*>(pixels + 16);
    _mm_storeu_si128(first, _mm_and_si128(_mm_loadu_si128(first), _mm_load_si128(reinterpret_cast<const __m128i*>(keep))));
    _mm_storel_epi64(rest, _mm_and_si128(_mm_loadl_epi64(rest), Load8(keep + 16)));
}

}  // namespace

void MarkDarkRunSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    std::size_t i = 0;
    for (; i + kBlockPixels <= pixels; i += kBlockPixels) {
        if (!MayHoldDark(src + 3 * i)) {
            continue;
        }
        const std::uint32_t dark = DarkBits(src + 3 * i);
        BlackenEight(dst + 3 * i, dark & 0xFF);
        BlackenEight(dst + 3 * i + 24, dark >> 8);
    }
    MarkDarkRunScalar(src + 3 * i, dst + 3 * i, pixels - i);
}

#endif
