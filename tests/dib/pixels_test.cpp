// Bit-field masks: large pictures through tables, and only the plain layout
// takes the byte-copying path. The corpus pins the scaling of masks 1 to 18
// bits wide, the other depths, packing and row order.

#include <cmath>

#include "dib_test_support.h"

namespace {

// round(v x 255 / (2^n - 1)) with halves rounded up, worked out apart from the loader.
std::uint8_t ExpectedScale(std::uint64_t v, int n) {
    const long double exact = static_cast<long double>(v) * 255 / ((std::uint64_t{1} << n) - 1);
    return static_cast<std::uint8_t>(std::floor(exact + 0.5L));
}

TEST(BitFields, EverySixteenBitValueOfALargePicture) {
    // Large pictures take colours from tables made once; 256 x 256 pixels
    // hold every 16-bit value, here also repeated in the top half of 32 bits.
    for (const std::uint16_t bits : {16, 32}) {
        std::vector<std::vector<std::uint32_t>> rows(256);
        for (std::uint32_t v = 0; v < 65536; ++v) {
            rows[v / 256].push_back(bits == 16 ? v : v | v << 16);
        }
        TestBitmap bitmap;
        bitmap.bitCount = bits;
        bitmap.compression = 3;
        bitmap.width = bitmap.height = 256;
        bitmap.masks = bits == 16 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F}
                                  : std::vector<std::uint32_t>{0xFFFF0000, 0x0000F800, 0x000007FF};
        bitmap.pixels = StoreRows(bits, rows);
        const DibDecodeResult result = DecodeDibImage(bitmap.Build());
        ASSERT_EQ(result.error, DibError::kNone);
        for (std::uint32_t v = 0; v < 65536; ++v) {
            const Rgb expected = bits == 16 ? Rgb{ExpectedScale(v >> 11, 5), ExpectedScale(v >> 5 & 63, 6),
                                                  ExpectedScale(v & 31, 5)}
                                            : Rgb{ExpectedScale(v, 16), ExpectedScale(v >> 11, 5),
                                                  ExpectedScale(v & 0x7FF, 11)};
            ASSERT_EQ(PixelAt(*result.image, v % 256, v / 256), expected) << bits << " bits, value " << v;
        }
    }
}

// Only red 00FF0000, green 0000FF00, blue 000000FF may be read as plain
// bytes; masks that differ from it in one place must still be read as masks.
TEST(BitFields, OnlyTheDefaultLayoutIsReadAsPlainBytes) {
    const struct { std::vector<std::uint32_t> masks; Rgb expected; } cases[] = {
        {{0xFF000000, 0xFF00, 0xFF}, {0x11, 0x33, 0x44}},
        {{0xFF0000, 0xFF000000, 0xFF}, {0x22, 0x11, 0x44}},
        {{0xFF0000, 0xFF00, 0xFF000000}, {0x22, 0x33, 0x11}}};
    for (const auto& [masks, expected] : cases) {
        TestBitmap bitmap;
        bitmap.bitCount = 32;
        bitmap.compression = 3;
        bitmap.width = 8;  // wide enough for the vector path
        bitmap.masks = masks;
        bitmap.pixels = StoreRows(32, {std::vector<std::uint32_t>(8, 0x11223344)});
        const DibDecodeResult result = DecodeDibImage(bitmap.Build());
        ASSERT_EQ(result.error, DibError::kNone);
        EXPECT_EQ(PixelAt(*result.image, 0, 0), expected);
        EXPECT_EQ(PixelAt(*result.image, 7, 0), expected);
    }
}

}  // namespace
