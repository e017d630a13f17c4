// Where the colour table and the pixel bits are found.

#include "dib_test_support.h"

namespace {

// A 2 x 1 bitmap without a file header, with one change.
TestBitmap Bare(void (*change)(TestBitmap&)) {
    TestBitmap bitmap;
    bitmap.fileHeader = false;
    bitmap.width = 2;
    change(bitmap);
    return bitmap;
}

// Pixels 1 and 2 of a table whose entries all differ, so a wrong offset shows.
void Indexed(TestBitmap& bitmap) {
    bitmap.bitCount = 8;
    for (int i = 0; i < 256; ++i) {
        bitmap.palette.push_back({static_cast<std::uint8_t>(i), 100, static_cast<std::uint8_t>(255 - i)});
    }
    bitmap.pixels = StoreRows(8, {{1, 2}});
}

// Without a file header the bits start right after the header, the masks and
// the table (the corpus has files with one).
TEST(PixelBits, StartWhereTheLayoutSays) {
    const struct { const char* what; TestBitmap bitmap; Rgb secondPixel; } cases[] = {
        {"InfoHeader", Bare(Indexed), {2, 100, 253}},
        {"CoreHeader", Bare([](TestBitmap& b) { b.headerSize = 12, Indexed(b); }), {2, 100, 253}},
        {"DirectColour", Bare([](TestBitmap& b) { b.pixels = StoreRows(24, {{0, 0x123456}}); }), {0x12, 0x34, 0x56}},
        {"DirectColourWithATable", Bare([](TestBitmap& b) {
             b.colorsUsed = 5, b.palette.assign(5, Rgb{9, 9, 9}), b.pixels = StoreRows(24, {{0, 0x123456}});
         }), {0x12, 0x34, 0x56}},
        {"BitFieldsMasksBeforeTheTable", Bare([](TestBitmap& b) {
             b.bitCount = 16, b.compression = 3, b.colorsUsed = 2, b.palette.assign(2, Rgb{});
             b.masks = {0xF800, 0x07E0, 0x001F}, b.pixels = StoreRows(16, {{0, 0xF800}});
         }), {255, 0, 0}},
    };
    for (const auto& c : cases) {
        const DibDecodeResult result = DecodeDibImage(c.bitmap.Build());
        ASSERT_EQ(result.error, DibError::kNone) << c.what << ": " << result.reason;
        EXPECT_EQ(PixelAt(*result.image, 1, 0), c.secondPixel) << c.what;
    }
}

}  // namespace
