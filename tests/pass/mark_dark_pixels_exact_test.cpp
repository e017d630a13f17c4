// The fast pass marks exactly what asking every pixel's intensity marks, on
// every kernel this processor can run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "app/dark_colours.h"
#include "app/dark_pass_kernels.h"
#include "app/mark_dark_pixels.h"
#include "image/image_class.h"

namespace {

// The pass as first written: column by column, through the intensity.
void ReferencePass(const ImageClass& source, ImageClass& result) {
    for (std::int32_t x = 0; x < source.SizeX(); ++x) {
        for (std::int32_t y = 0; y < source.SizeY(); ++y) {
            if (source.GetPointIntensity(x, y) < kDarkThreshold) {
                result.SetPixel(x, y, 0, 0, 0);
            }
        }
    }
}

std::size_t PixelCount(const ImageClass& image) { return std::size_t{1} * image.SizeX() * image.SizeY(); }

// Runs one kernel over a copy of startingResult and compares it with expected,
// naming the first pixel that differs.
void ExpectKernelMarks(const NamedDarkPassKernel& kernel, const ImageClass& source, const ImageClass& startingResult,
                       const ImageClass& expected) {
    ImageClass result(source.SizeX(), source.SizeY());
    startingResult.CopyTo(result);
    kernel.run(source.Data(), result.Data(), PixelCount(source));
    const std::size_t bytes = 3 * PixelCount(source);
    const std::size_t at = std::mismatch(result.Data(), result.Data() + bytes, expected.Data()).first - result.Data();
    if (at != bytes) {
        const std::uint8_t* pixel = source.Data() + at / 3 * 3;
        FAIL() << kernel.name << ": pixel " << at / 3 << " of " << PixelCount(source) << ", colour "
               << int{pixel[0]} << ", " << int{pixel[1]} << ", " << int{pixel[2]};
    }
}

TEST(MarkDarkPixelsExact, EveryColour) {
    // 4096 x 4096 pixels hold each of the 2^24 colours once, spread by an odd
    // multiplier so that most dark colours sit alone among light ones, at
    // every place in a block.
    ImageClass source(4096, 4096);
    std::uint8_t* p = source.Data();
    for (std::uint32_t i = 0; i < (1u << 24); ++i, p += 3) {
        const std::uint32_t colour = i * 0x9E3779u;
        p[0] = static_cast<std::uint8_t>(colour >> 16);
        p[1] = static_cast<std::uint8_t>(colour >> 8);
        p[2] = static_cast<std::uint8_t>(colour);
    }
    ImageClass white(4096, 4096);
    ImageClass expected(4096, 4096);
    for (std::int32_t y = 0; y < 4096; ++y) {
        for (std::int32_t x = 0; x < 4096; ++x) {
            const bool dark = source.GetPointIntensity(x, y) < kDarkThreshold;
            std::uint8_t r, g, b;
            source.GetPixel(x, y, r, g, b);
            // The integer rule every kernel relies on, checked before them.
            ASSERT_EQ(IsDarkColour(r, g, b), dark) << int{r} << ", " << int{g} << ", " << int{b};
            if (dark) {
                expected.SetPixel(x, y, 0, 0, 0);
            }
        }
    }
    for (const NamedDarkPassKernel& kernel : AvailableDarkPassKernels()) {
        ExpectKernelMarks(kernel, source, white, expected);
    }
}

TEST(MarkDarkPixelsExact, RandomPicturesOverMarkedResults) {
    std::mt19937 random(2024);
    // Pixel counts: less than a block of 16, one pixel short of two blocks,
    // three blocks, whole groups of 64, one pixel short of a group past
    // groups, and 40 past them. Components up to 10 make half the pixels
    // dark, so the last few hold some; a top bit set at random makes light
    // pixels that only it keeps from being dark.
    for (const auto& [width, height, maxComponent, topBit] : {std::tuple{1, 1, 10, 0}, {31, 1, 10, 0}, {24, 2, 10, 0},
                                                              {640, 480, 10, 128}, {333, 187, 255, 0}, {1000, 1, 10, 0}}) {
        ImageClass source(width, height);
        ImageClass result(width, height);  // already holds marks of its own
        std::uniform_int_distribution<int> component(0, maxComponent);
        for (std::size_t i = 0; i < 3 * PixelCount(source); ++i) {
            source.Data()[i] = static_cast<std::uint8_t>(component(random) | (random() & topBit));
            result.Data()[i] = static_cast<std::uint8_t>(component(random) | 1);
        }
        ImageClass expected(width, height);
        result.CopyTo(expected);
        ReferencePass(source, expected);
        for (const NamedDarkPassKernel& kernel : AvailableDarkPassKernels()) {
            ExpectKernelMarks(kernel, source, result, expected);
        }
        MarkDarkPixels(source, result);
        ASSERT_EQ(std::memcmp(result.Data(), expected.Data(), 3 * PixelCount(source)), 0) << width << " x " << height;
    }
}

}  // namespace
