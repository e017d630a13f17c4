// Run-length encoded pixels: each code, clipping at the row's end, and where
// the data may end.

#include "dib_test_support.h"

namespace {

const Rgb kBlack{};
const Rgb kA{10, 20, 30};
const Rgb kB{40, 50, 60};
const Rgb kC{70, 80, 90};

TestBitmap RunLength(std::uint16_t bitCount, std::int32_t width, std::int32_t height, Bytes codes) {
    TestBitmap bitmap;
    bitmap.bitCount = bitCount;
    bitmap.compression = bitCount == 8 ? 1 : 2;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.colorsUsed = 3;
    bitmap.palette = {kA, kB, kC};
    bitmap.pixels = std::move(codes);
    return bitmap;
}

std::vector<Rgb> DecodedPixels(const TestBitmap& bitmap) {
    const DibDecodeResult result = Decode(bitmap);
    EXPECT_EQ(result.error, DibError::kNone);
    return result.image ? AllPixels(*result.image) : std::vector<Rgb>{};
}

TEST(Rle8, RunsLiteralsEndOfLineAndEndOfBitmap) {
    // Row 0: a run of two A, a literal B C A (padded). Row 1: run of one C.
    const Bytes codes = {2, 0, 0, 3, 1, 2, 0, 0, 0, 0, 1, 2, 0, 1};
    EXPECT_EQ(DecodedPixels(RunLength(8, 5, 2, codes)),
              (std::vector<Rgb>{kA, kA, kB, kC, kA, kC, kBlack, kBlack, kBlack, kBlack}));
}

TEST(Rle8, DeltaMovesWithoutWriting) {
    const Bytes codes = {1, 0, 0, 2, 2, 1, 1, 1, 0, 1};
    EXPECT_EQ(DecodedPixels(RunLength(8, 4, 2, codes)),
              (std::vector<Rgb>{kA, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kB}));
}

TEST(Rle8, PixelsPastTheRowAreDroppedAndTheColumnStillAdvances) {
    // A run of 5 in a 3-wide row, then one more pixel: it lands at column 5,
    // also past the end, so row 0 holds only the first three and row 1 nothing.
    const Bytes codes = {5, 1, 1, 2, 0, 0, 0, 1};
    EXPECT_EQ(DecodedPixels(RunLength(8, 3, 2, codes)),
              (std::vector<Rgb>{kB, kB, kB, kBlack, kBlack, kBlack}));
}

TEST(Rle8, LeavingThroughTheTopEndsDecoding) {
    // End of line from the last row, then a delta above the top: both end
    // decoding quietly and what came after them is never read.
    EXPECT_EQ(DecodedPixels(RunLength(8, 1, 1, {1, 2, 0, 0, 1, 1})), (std::vector<Rgb>{kC}));
    EXPECT_EQ(DecodedPixels(RunLength(8, 1, 2, {1, 2, 0, 2, 0, 5, 1, 1})), (std::vector<Rgb>{kC, kBlack}));
}

// Data cut inside a code is refused (see the refusals); between codes it is not.
TEST(Rle8, DataMayEndBetweenCodes) {
    EXPECT_EQ(DecodedPixels(RunLength(8, 2, 1, {1, 1})), (std::vector<Rgb>{kB, kBlack}));
    EXPECT_EQ(DecodedPixels(RunLength(8, 3, 1, {0, 3, 0, 1, 2})), (std::vector<Rgb>{kA, kB, kC}))
        << "a missing pad byte at the very end is no error";
}

TEST(Rle4, RunsAlternateNibblesAndLiteralsReadHighNibbleFirst) {
    // A run of 3 with nibbles (1, 2), then a literal of 3 nibbles 0, 1, 2
    // (two bytes, already even, so no pad).
    const Bytes codes = {3, 0x12, 0, 3, 0x01, 0x20, 0, 1};
    EXPECT_EQ(DecodedPixels(RunLength(4, 6, 1, codes)), (std::vector<Rgb>{kB, kC, kB, kA, kB, kC}));
}

TEST(Rle4, OddByteLiteralIsPadded) {
    // 5 nibbles take 3 bytes, padded to 4.
    const Bytes codes = {0, 5, 0x01, 0x20, 0x10, 0xFF, 1, 0x22};
    EXPECT_EQ(DecodedPixels(RunLength(4, 6, 1, codes)), (std::vector<Rgb>{kA, kB, kC, kA, kB, kC}));
}

}  // namespace
