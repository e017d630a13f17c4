// The fast pass marks exactly what asking every pixel's intensity marks.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

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

std::size_t ByteCount(const ImageClass& image) { return std::size_t{3} * image.SizeX() * image.SizeY(); }

void ExpectSamePass(const ImageClass& source, const ImageClass& startingResult) {
    ImageClass fast(source.SizeX(), source.SizeY());
    ImageClass reference(source.SizeX(), source.SizeY());
    startingResult.CopyTo(fast);
    startingResult.CopyTo(reference);
    MarkDarkPixels(source, fast);
    ReferencePass(source, reference);
    ASSERT_EQ(std::memcmp(fast.Data(), reference.Data(), ByteCount(source)), 0);
}

TEST(MarkDarkPixelsExact, EveryColour) {
    // 4096 x 4096 pixels hold each of the 2^24 colours once.
    ImageClass source(4096, 4096);
    std::uint8_t* p = source.Data();
    for (std::uint32_t colour = 0; colour < (1u << 24); ++colour, p += 3) {
        p[0] = static_cast<std::uint8_t>(colour >> 16);
        p[1] = static_cast<std::uint8_t>(colour >> 8);
        p[2] = static_cast<std::uint8_t>(colour);
    }
    ImageClass result(4096, 4096);
    MarkDarkPixels(source, result);

    std::uint32_t marked = 0;
    for (std::int32_t y = 0; y < 4096; ++y) {
        for (std::int32_t x = 0; x < 4096; ++x) {
            std::uint8_t r, g, b;
            result.GetPixel(x, y, r, g, b);
            const bool dark = source.GetPointIntensity(x, y) < kDarkThreshold;
            ASSERT_EQ(r == 0 && g == 0 && b == 0, dark) << "colour at " << x << ", " << y;
            ASSERT_TRUE((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255));
            marked += dark;
        }
    }
    EXPECT_GT(marked, 0u);
}

TEST(MarkDarkPixelsExact, RandomPicturesOverMarkedResults) {
    std::mt19937 random(2024);
    for (const auto& [width, height, maxComponent] :
         {std::tuple{1, 1, 255}, {7, 3, 31}, {640, 480, 20}, {333, 211, 255}, {1000, 1, 50}}) {
        ImageClass source(width, height);
        ImageClass result(width, height);  // already holds marks of its own
        std::uniform_int_distribution<int> component(0, maxComponent);
        for (std::size_t i = 0; i < ByteCount(source); ++i) {
            source.Data()[i] = static_cast<std::uint8_t>(component(random));
            result.Data()[i] = static_cast<std::uint8_t>(component(random) | 1);
        }
        ExpectSamePass(source, result);
    }
}

}  // namespace
