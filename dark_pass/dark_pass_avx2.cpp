#include "dark_pass/dark_pass_kernels.h"

#if defined(__SSE2__) && !defined(IMAGE_BORDER_PLAIN_CXX)

#include <immintrin.h>

#include "dark_pass/dark_colours.h"

// Compiled for AVX2 function by function, not for the whole file, so nothing
// else in the program can end up needing it.
#define AVX2 __attribute__((target("avx2")))

namespace {

constexpr std::size_t kBlockPixels = 16;  // 48 bytes
constexpr std::size_t kGroupBlocks = 4;   // 192 bytes: three cache lines

AVX2 inline __m256i LoadTwo(const std::uint8_t* low, const std::uint8_t* high) {
    const __m128i lowHalf = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lowHalf),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// Four pixels per 128-bit half, each spread to a 32-bit lane, and -1 in the
// lanes of the dark ones.
AVX2 inline __m256i DarkLanes(__m256i pixels) {
    // (30 red + 59 green, blue) in 16 bits, then 256 x the first + (256 x 11 + 1) x
    // the second: the key.
    const __m256i byteWeights = _mm256_set1_epi32(1 << 16 | kGreenWeight << 8 | kRedWeight);
    const __m256i pairWeights = _mm256_set1_epi32((256 * kBlueWeight + 1) << 16 | 256);
    const __m256i key = _mm256_madd_epi16(_mm256_maddubs_epi16(pixels, byteWeights), pairWeights);
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(kDarkKeyLimit), key);
}

// One byte per pixel of the block, in pixel order, 0xFF where dark; the same
// sixteen bytes in both halves.
AVX2 inline __m256i DarkBytes(const std::uint8_t* block) {
    // Pixels 0-3 | 4-7 and 8-11 | 12-15, each in a 32-bit lane, red lowest.
    // The last four are loaded from 4 bytes before them, so that no load
    // reaches past the block.
    const __m256i spreadFirst = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                                 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i spreadSecond = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                                  4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m256i first = DarkLanes(_mm256_shuffle_epi8(LoadTwo(block, block + 12), spreadFirst));
    const __m256i second = DarkLanes(_mm256_shuffle_epi8(LoadTwo(block + 24, block + 32), spreadSecond));
    // The packs work within halves: 32-bit words of pixels 0-3, 8-11, 0, 0 |
    // 4-7, 12-15, 0, 0.
    const __m256i packed = _mm256_packs_epi16(_mm256_packs_epi32(first, second), _mm256_setzero_si256());
    return _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 5, 0, 4, 1, 5));
}

// Blackens the block's dark pixels in dst, given DarkBytes.
AVX2 inline void Blacken(std::uint8_t* block, __m256i darkBytes) {
    const __m256i expandFirst = _mm256_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5,  //
                                                 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i expandLast = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    auto* first = reinterpret_cast<__m256i*>(block);
    auto* last = reinterpret_cast<__m128i*>(block + 32);
    _mm256_storeu_si256(first, _mm256_andnot_si256(_mm256_shuffle_epi8(darkBytes, expandFirst), _mm256_loadu_si256(first)));
    _mm_storeu_si128(last, _mm_andnot_si128(_mm_shuffle_epi8(_mm256_castsi256_si128(darkBytes), expandLast),
                                            _mm_loadu_si128(last)));
}

// Blackens the dark pixels of `count` blocks. Whether any is dark is asked
// once for all of them: on a light picture their result bytes are not even
// read, and on dark noise, where a block of 16 holds a dark pixel about half
// the time, a group of 4 almost always does, so the branch is seldom missed.
template <std::size_t count>
AVX2 inline void MarkBlocks(const std::uint8_t* src, std::uint8_t* dst) {
    __m256i darkBytes[count];
    __m256i any = _mm256_setzero_si256();
    for (std::size_t b = 0; b < count; ++b) {
        darkBytes[b] = DarkBytes(src + 3 * kBlockPixels * b);
        any = _mm256_or_si256(any, darkBytes[b]);
    }
    if (_mm256_movemask_epi8(any) != 0) {
        for (std::size_t b = 0; b < count; ++b) {
            Blacken(dst + 3 * kBlockPixels * b, darkBytes[b]);
        }
    }
}

}  // namespace

AVX2 void MarkDarkRunAvx2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    std::size_t i = 0;
    for (; i + kGroupBlocks * kBlockPixels <= pixels; i += kGroupBlocks * kBlockPixels) {
        MarkBlocks<kGroupBlocks>(src + 3 * i, dst + 3 * i);
    }
    for (; i + kBlockPixels <= pixels; i += kBlockPixels) {
        MarkBlocks<1>(src + 3 * i, dst + 3 * i);
    }
    MarkDarkRunScalar(src + 3 * i, dst + 3 * i, pixels - i);
}

#endif
