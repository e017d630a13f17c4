#include "app/mark_dark_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bmp_writer.h"
#include "image/image_class.h"

namespace {

void Fill(ImageClass& image, const TestPicture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.At(x, y);
            image.SetPixel(x, y, static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c));
        }
    }
}

std::vector<std::uint8_t> Bytes(const ImageClass& image) {
    return {image.Data(), image.Data() + std::size_t{3} * image.SizeX() * image.SizeY()};
}

// A wide, short picture, so swapped coordinates cannot go unnoticed.
TEST(MarkDarkPixels, BlackensExactlyTheDarkPixelsAndKeepsTheRest) {
    const TestPicture picture = MakePatternPicture(23, 5);
    ImageClass source(picture.width, picture.height);
    Fill(source, picture);
    ImageClass result(picture.width, picture.height);
    // Marks already there stay: the pass only ever blackens.
    result.DrawLineV(22, 0, 4, 200, 0, 0);

    MarkDarkPixels(source, result);

    int marked = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t colour = picture.At(x, y);
            std::uint8_t r = 0, g = 0, b = 0;
            result.GetPixel(x, y, r, g, b);
            const std::uint32_t got = std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
            const bool dark = std::ranges::find(kDarkColours, colour) != std::end(kDarkColours);
            const std::uint32_t before = x == 22 ? 0xC80000 : 0xFFFFFF;
            EXPECT_EQ(got, dark ? 0u : before) << "(" << x << ", " << y << ") colour " << std::hex << colour;
            marked += dark ? 1 : 0;
        }
    }
    EXPECT_GT(marked, 4);
    EXPECT_EQ(Bytes(source), picture.rgb);
}

TEST(MarkDarkPixels, AllWhiteStaysWhiteAllBlackTurnsBlack) {
    ImageClass white(9, 4);
    ImageClass whiteResult(9, 4);
    MarkDarkPixels(white, whiteResult);
    EXPECT_EQ(Bytes(whiteResult), std::vector<std::uint8_t>(9 * 4 * 3, 255));

    ImageClass black(9, 4);
    for (int y = 0; y < 4; ++y) {
        black.DrawLineH(y, 0, 8, 0, 0, 0);
    }
    ImageClass blackResult(9, 4);
    MarkDarkPixels(black, blackResult);
    EXPECT_EQ(Bytes(blackResult), std::vector<std::uint8_t>(9 * 4 * 3, 0));
}

TEST(MarkDarkPixels, SecondPassChangesNothing) {
    const TestPicture picture = MakePatternPicture(31, 17);
    ImageClass source(picture.width, picture.height);
    Fill(source, picture);
    ImageClass result(picture.width, picture.height);
    MarkDarkPixels(source, result);
    const std::vector<std::uint8_t> once = Bytes(result);
    MarkDarkPixels(source, result);
    EXPECT_EQ(Bytes(result), once);
}

}  // namespace
