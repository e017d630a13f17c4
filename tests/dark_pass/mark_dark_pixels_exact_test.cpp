// The fast pass marks exactly what asking every pixel's intensity marks, on
// every kernel this processor can run.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "dark_pass/dark_pass_kernels.h"
#include "dark_pass/mark_dark_run.h"
#include "image_class/image_class.h"
#include "reference_pass.h"

namespace {

// Every kernel, and the pass that picks one, over a copy of start must leave
// what the reference leaves; names the first pixel that differs.
void ExpectEveryKernelMarksAsTheReference(const ImageClass& source, const ImageClass& start) {
    const std::size_t pixels = std::size_t{1} * source.SizeX() * source.SizeY();
    ImageClass expected(source.SizeX(), source.SizeY());
    start.CopyTo(expected);
    ReferencePass(source, expected);
    const auto run = [&](const char* name, auto pass) {
        ImageClass result(source.SizeX(), source.SizeY());
        start.CopyTo(result);
        pass(result);
        const auto wrong = std::mismatch(result.Data(), result.Data() + 3 * pixels, expected.Data()).first;
        EXPECT_EQ((wrong - result.Data()) / 3, pixels) << name << ", " << source.SizeX() << " x " << source.SizeY();
    };
    for (const NamedDarkPassKernel& kernel : AvailableDarkPassKernels()) {
        run(kernel.name, [&](ImageClass& result) { kernel.run(source.Data(), result.Data(), pixels); });
    }
    run("MarkDarkRun", [&](ImageClass& result) { MarkDarkRun(source.Bytes(), result.Bytes()); });
}

TEST(MarkDarkPixelsExact, EveryColour) {
    // 4096 x 4096 pixels hold each of the 2^24 colours once, spread by an odd
    // multiplier so that most dark colours sit alone among light ones, at
    // every place in a block. Every kernel decides by an integer rule; this
    // checks it against the intensity for every colour.
    ImageClass source(4096, 4096);
    for (std::uint32_t i = 0; i < (1u << 24); ++i) {
        const std::uint32_t colour = i * 0x9E3779u;
        source.SetPixel(static_cast<std::int32_t>(i % 4096), static_cast<std::int32_t>(i / 4096),
                        static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                        static_cast<std::uint8_t>(colour));
    }
    ExpectEveryKernelMarksAsTheReference(source, ImageClass(4096, 4096));
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
        ImageClass start(width, height);  // already holds marks of its own
        std::uniform_int_distribution<int> component(0, maxComponent);
        for (std::size_t i = 0; i < std::size_t{3} * width * height; ++i) {
            source.Data()[i] = static_cast<std::uint8_t>(component(random) | (random() & topBit));
            start.Data()[i] = static_cast<std::uint8_t>(component(random) | 1);
        }
        ExpectEveryKernelMarksAsTheReference(source, start);
    }
}

}  // namespace
