// Bit-field masks: every width scales exactly, large pictures through tables,
// and only the plain layout takes the byte-copying path. The other depths,
// packing and row order are pinned by the corpus.

#include <cmath>

#include "dib_test_support.h"

namespace {

// round(v x 255 / (2^n - 1)) with halves rounded up, worked out apart from the loader.
std::uint8_t ExpectedScale(std::uint64_t v, int n) {
    const long double exact = static_cast<long double>(v) * 255 / ((std::uint64_t{1} << n) - 1);
    return static_cast<std::uint8_t>(std::floor(exact + 0.5L));
}

TEST(BitFields, EveryMaskWidthScalesExactly) {
    for (int width = 1; width <= 32; ++width) {
        const int shift = 32 - width;  // the widest masks must reach the top bit
        const std::uint32_t mask = static_cast<std::uint32_t>(((std::uint64_t{1} << width) - 1) << shift);
        const std::uint64_t max = (std::uint64_t{1} << width) - 1;
        const std::vector<std::uint64_t> values = {0, 1, max / 2, max / 2 + 1, max / 3, max - 1, max};
        std::vector<std::uint32_t> row;
        for (const std::uint64_t v : values) {
            row.push_back(static_cast<std::uint32_t>(v << shift));
        }
        TestBitmap bitmap;
        bitmap.bitCount = 32;
        bitmap.compression = 3;
        bitmap.width = static_cast<std::int32_t>(row.size());
        bitmap.masks = {mask, 0, mask};  // a zero mask gives a component of 0
        bitmap.pixels = StoreRows(32, {row});
        const DibDecodeResult result = Decode(bitmap);
        ASSERT_EQ(result.error, DibError::kNone) << width;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::uint8_t expected = ExpectedScale(values[i], width);
            EXPECT_EQ(PixelAt(*result.image, static_cast<int>(i), 0), (Rgb{expected, 0, expected}))
                << width << "-bit value " << values[i];
        }
    }
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
        const DibDecodeResult result = Decode(bitmap);
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
// bytes; masks that share some of its bytes must still be read as masks.
TEST(BitFields, OnlyTheDefaultLayoutIsReadAsPlainBytes) {
    for (const auto& [masks, expected] : {std::pair{std::vector<std::uint32_t>{0xFF000000, 0xFF0000, 0xFF}, Rgb{0x11, 0x22, 0x44}},
                                          {{0xFF0000, 0xFF000000, 0xFF}, Rgb{0x22, 0x11, 0x44}}}) {
        TestBitmap bitmap;
        bitmap.bitCount = 32;
        bitmap.compression = 3;
        bitmap.width = 8;  // wide enough for the vector path
        bitmap.masks = masks;
        bitmap.pixels = StoreRows(32, {std::vector<std::uint32_t>(8, 0x11223344)});
        const DibDecodeResult result = Decode(bitmap);
        ASSERT_EQ(result.error, DibError::kNone);
        EXPECT_EQ(PixelAt(*result.image, 0, 0), expected);
        EXPECT_EQ(PixelAt(*result.image, 7, 0), expected);
    }
}

}  // namespace
