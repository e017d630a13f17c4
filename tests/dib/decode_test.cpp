// What files decode to where the corpus does not reach: files without a file
// header, masks one step from the plain 32-bit layout, each run-length code
// and where run-length data may end (codes cut short inside are refusals),
// and large bit-field pictures, which take their colours from tables. The
// corpus pins the scaling of masks 1 to 18 bits wide, the other depths,
// packing and row order.

#include <cmath>
#include <tuple>

#include "dib_test_support.h"

namespace {

// Without a file header, pixels 1 and 2 of a table whose entries all
// differ, so a wrong offset shows.
void Indexed(TestBitmap& bitmap) {
    bitmap.fileHeader = false;
    bitmap.bitCount = 8;
    for (std::uint32_t i = 0; i < 256; ++i) {
        bitmap.palette.push_back(i << 16 | 100 << 8 | (255 - i));
    }
    bitmap.pixels = StoreRows(8, {{1, 2}});
}

// Eight 32-bit pixels 0x11223344 through these masks: wide enough for the
// vector path, which only red 00FF0000, green 0000FF00, blue 000000FF take.
Bytes Masked32(std::vector<std::uint32_t> masks) {
    TestBitmap bitmap;
    bitmap.bitCount = 32;
    bitmap.compression = 3;
    bitmap.width = 8;
    bitmap.masks = std::move(masks);
    bitmap.pixels = StoreRows(32, {std::vector<std::uint32_t>(8, 0x11223344)});
    return bitmap.Build();
}

const struct {
    const char* what;
    Bytes file;
    Rows expected;  // bottom row first; 0 where no run-length code writes
} kCases[] = {
    // Without a file header the bits start right after the header, the masks and the table.
    {"InfoHeader", With(Indexed), {{0x0164FE, 0x0264FD}}},
    {"CoreHeader", With([](TestBitmap& b) { b.headerSize = 12, Indexed(b); }), {{0x0164FE, 0x0264FD}}},
    {"DirectColour", With([](TestBitmap& b) { b.fileHeader = false, b.pixels = StoreRows(24, {{0, 0x123456}}); }),
     {{0, 0x123456}}},
    {"DirectColourWithATable", With([](TestBitmap& b) {
         b.fileHeader = false, b.colorsUsed = 5, b.palette.assign(5, 0x090909);
         b.pixels = StoreRows(24, {{0, 0x123456}});
     }), {{0, 0x123456}}},
    {"BitFieldsMasksBeforeTheTable", With([](TestBitmap& b) {
         b.fileHeader = false, b.bitCount = 16, b.compression = 3, b.colorsUsed = 2, b.palette.assign(2, 0);
         b.masks = {0xF800, 0x07E0, 0x001F}, b.pixels = StoreRows(16, {{0, 0xF800}});
     }), {{0, 0xFF0000}}},
    // Masks that differ from the plain layout in one place are read as masks.
    {"RedInTheTopByte", Masked32({0xFF000000, 0xFF00, 0xFF}), Flat(8, 1, 0x113344)},
    {"GreenInTheTopByte", Masked32({0xFF0000, 0xFF000000, 0xFF}), Flat(8, 1, 0x221144)},
    {"BlueInTheTopByte", Masked32({0xFF0000, 0xFF00, 0xFF000000}), Flat(8, 1, 0x223311)},
    // Row 0: a run of two A, a literal B C A (padded). Row 1: a run of one C.
    {"Rle8RunsLiteralsEndOfLineAndEndOfBitmap", RunLengthFile(8, 5, 2, {2, 0, 0, 3, 1, 2, 0, 0, 0, 0, 1, 2, 0, 1}),
     {{kA, kA, kB, kC, kA}, {kC, 0, 0, 0, 0}}},
    {"Rle8DeltaMovesWithoutWriting", RunLengthFile(8, 4, 2, {1, 0, 0, 2, 2, 1, 1, 1, 0, 1}),
     {{kA, 0, 0, 0}, {0, 0, 0, kB}}},
    // A run of 5 in a 3-wide row, then one more pixel: it lands at column 5,
    // also past the end, so row 0 holds only the first three and row 1 nothing.
    {"Rle8PixelsPastTheRowAreDropped", RunLengthFile(8, 3, 2, {5, 1, 1, 2, 0, 0, 0, 1}), {{kB, kB, kB}, {0, 0, 0}}},
    // End of line from the last row, or a delta above the top, ends decoding
    // quietly: what comes after is never read.
    {"Rle8EndOfLineLeavingTheTop", RunLengthFile(8, 1, 1, {1, 2, 0, 0, 1, 1}), {{kC}}},
    {"Rle8DeltaLeavingTheTop", RunLengthFile(8, 1, 2, {1, 2, 0, 2, 0, 5, 1, 1}), {{kC}, {0}}},
    {"Rle8DataEndingBetweenCodes", RunLengthFile(8, 2, 1, {1, 1}), {{kB, 0}}},
    {"Rle8PadByteMissingAtTheEnd", RunLengthFile(8, 3, 1, {0, 3, 0, 1, 2}), {{kA, kB, kC}}},
    // A run of 3 with nibbles (1, 2), then a literal of 3 nibbles 0, 1, 2.
    {"Rle4RunsAlternateNibbles", RunLengthFile(4, 6, 1, {3, 0x12, 0, 3, 0x01, 0x20, 0, 1}),
     {{kB, kC, kB, kA, kB, kC}}},
    // 5 nibbles take 3 bytes, padded to 4.
    {"Rle4OddByteLiteralIsPadded", RunLengthFile(4, 6, 1, {0, 5, 0x01, 0x20, 0x10, 0xFF, 1, 0x22}),
     {{kA, kB, kC, kA, kB, kC}}},
};

TEST(Decode, GivesThePixelsTheFileHolds) {
    for (const auto& c : kCases) {
        const DibDecodeResult result = DecodeDibImage(c.file);
        ASSERT_EQ(result.error, DibError::kNone) << c.what << ": " << result.reason;
        EXPECT_EQ(Unpack(*result.image), c.expected) << c.what;
    }
}

// round(v x 255 / (2^n - 1)) with halves rounded up, worked out apart from the loader.
std::uint32_t ExpectedScale(std::uint64_t v, int n) {
    const long double exact = static_cast<long double>(v) * 255 / ((std::uint64_t{1} << n) - 1);
    return static_cast<std::uint32_t>(std::floor(exact + 0.5L));
}

TEST(Decode, EverySixteenBitValueOfALargeBitFieldPicture) {
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
        const Rows pixels = Unpack(*result.image);
        for (std::uint32_t v = 0; v < 65536; ++v) {
            const auto [r, g, b] = bits == 16 ? std::tuple{ExpectedScale(v >> 11, 5), ExpectedScale(v >> 5 & 63, 6),
                                                           ExpectedScale(v & 31, 5)}
                                              : std::tuple{ExpectedScale(v, 16), ExpectedScale(v >> 11, 5),
                                                           ExpectedScale(v & 0x7FF, 11)};
            ASSERT_EQ(pixels[v / 256][v % 256], r << 16 | g << 8 | b) << bits << " bits, value " << v;
        }
    }
}

}  // namespace
