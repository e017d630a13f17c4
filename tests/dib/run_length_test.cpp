// Run-length encoded pixels: each code, clipping at the row's end, and where
// the data may end. Codes cut short inside are refusals (see refusal_test).

#include "dib_test_support.h"

namespace {

const Rgb kO{};  // black: where no code writes
const Rgb kA{10, 20, 30};
const Rgb kB{40, 50, 60};
const Rgb kC{70, 80, 90};

struct RunLengthCase {
    const char* what;
    std::uint16_t bitCount;
    std::int32_t width, height;
    Bytes codes;
    std::vector<Rgb> pixels;  // bottom row first
};

const RunLengthCase kCases[] = {
    // Row 0: a run of two A, a literal B C A (padded). Row 1: a run of one C.
    {"Rle8RunsLiteralsEndOfLineAndEndOfBitmap", 8, 5, 2, {2, 0, 0, 3, 1, 2, 0, 0, 0, 0, 1, 2, 0, 1},
     {kA, kA, kB, kC, kA, kC, kO, kO, kO, kO}},
    {"Rle8DeltaMovesWithoutWriting", 8, 4, 2, {1, 0, 0, 2, 2, 1, 1, 1, 0, 1}, {kA, kO, kO, kO, kO, kO, kO, kB}},
    // A run of 5 in a 3-wide row, then one more pixel: it lands at column 5,
    // also past the end, so row 0 holds only the first three and row 1 nothing.
    {"Rle8PixelsPastTheRowAreDropped", 8, 3, 2, {5, 1, 1, 2, 0, 0, 0, 1}, {kB, kB, kB, kO, kO, kO}},
    // End of line from the last row, or a delta above the top, ends decoding
    // quietly: what comes after is never read.
    {"Rle8EndOfLineLeavingTheTop", 8, 1, 1, {1, 2, 0, 0, 1, 1}, {kC}},
    {"Rle8DeltaLeavingTheTop", 8, 1, 2, {1, 2, 0, 2, 0, 5, 1, 1}, {kC, kO}},
    {"Rle8DataEndingBetweenCodes", 8, 2, 1, {1, 1}, {kB, kO}},
    {"Rle8PadByteMissingAtTheEnd", 8, 3, 1, {0, 3, 0, 1, 2}, {kA, kB, kC}},
    // A run of 3 with nibbles (1, 2), then a literal of 3 nibbles 0, 1, 2.
    {"Rle4RunsAlternateNibbles", 4, 6, 1, {3, 0x12, 0, 3, 0x01, 0x20, 0, 1}, {kB, kC, kB, kA, kB, kC}},
    // 5 nibbles take 3 bytes, padded to 4.
    {"Rle4OddByteLiteralIsPadded", 4, 6, 1, {0, 5, 0x01, 0x20, 0x10, 0xFF, 1, 0x22}, {kA, kB, kC, kA, kB, kC}},
};

TEST(RunLength, DecodesEveryCode) {
    for (const RunLengthCase& c : kCases) {
        TestBitmap bitmap;
        bitmap.bitCount = c.bitCount;
        bitmap.compression = c.bitCount == 8 ? 1 : 2;
        bitmap.width = c.width;
        bitmap.height = c.height;
        bitmap.colorsUsed = 3;
        bitmap.palette = {kA, kB, kC};
        bitmap.pixels = c.codes;
        const DibDecodeResult result = DecodeDibImage(bitmap.Build());
        ASSERT_EQ(result.error, DibError::kNone) << c.what << ": " << result.reason;
        EXPECT_EQ(AllPixels(*result.image), c.pixels) << c.what;
    }
}

}  // namespace
