// Where the colour table and the pixel bits are found.

#include "dib_test_support.h"

namespace {

// An 8-bit bitmap of 2 x 1 pixels using indices 1 and 2 of a table whose
// entries are all distinct, so reading pixels from a wrong offset shows.
TestBitmap TwoPixelIndexed(std::uint32_t headerSize, std::uint32_t tableLength) {
    TestBitmap bitmap;
    bitmap.headerSize = headerSize;
    bitmap.width = 2;
    bitmap.bitCount = 8;
    for (std::uint32_t i = 0; i < tableLength; ++i) {
        bitmap.palette.push_back({static_cast<std::uint8_t>(i), 100, static_cast<std::uint8_t>(255 - i)});
    }
    bitmap.pixels = StoreRows(8, {{1, 2}});
    return bitmap;
}

TEST(ColorCount, ComesFromColorsUsedOrBitCount) {
    TestBitmap bitmap;
    bitmap.fileHeader = false;
    const auto countOf = [&] {
        const Bytes bytes = bitmap.Build();
        return DibColorCount(bytes);
    };
    for (const auto& [bits, count] : {std::pair{1, 2u}, {4, 16u}, {8, 256u}, {16, 0u}, {24, 0u}, {32, 0u}, {2, 0u}}) {
        bitmap.bitCount = static_cast<std::uint16_t>(bits);
        EXPECT_EQ(countOf(), count) << bits << " bits";
    }
    bitmap.colorsUsed = 5;
    EXPECT_EQ(countOf(), 5u);
    const Bytes header = bitmap.Build();
    for (const std::size_t cut : {33, 35}) {  // the colours-used field is not all there
        EXPECT_EQ(DibColorCount(std::span(header).first(cut)), 0u) << cut;
    }
    bitmap.headerSize = 12;  // core headers have no colours-used field
    bitmap.bitCount = 8;
    EXPECT_EQ(countOf(), 256u);
}

struct OffsetCase {
    const char* what;
    TestBitmap bitmap;
    Rgb secondPixel;
};

OffsetCase Bare(const char* what, TestBitmap bitmap, Rgb secondPixel) {
    bitmap.fileHeader = false;
    return {what, std::move(bitmap), secondPixel};
}

// Without a file header the bits start right after the header, the masks and
// the table; with one, where its offset says, even after a gap.
const OffsetCase kOffsets[] = {
    Bare("BareInfoHeaderFullTable", TwoPixelIndexed(40, 256), {2, 100, 253}),
    Bare("BareInfoHeaderColoursUsed", [] { auto b = TwoPixelIndexed(40, 16); b.colorsUsed = 16; return b; }(),
         {2, 100, 253}),
    Bare("BareCoreHeader", TwoPixelIndexed(12, 256), {2, 100, 253}),
    Bare("BareDirectColourWithATable",
         [] {
             TestBitmap b;
             b.width = 2, b.colorsUsed = 5, b.palette.assign(5, Rgb{9, 9, 9});
             b.pixels = StoreRows(24, {{0, 0x123456}});
             return b;
         }(),
         {0x12, 0x34, 0x56}),
    Bare("BareBitFieldsMasksBeforeTheTable",
         [] {
             TestBitmap b;
             b.width = 2, b.bitCount = 16, b.compression = 3, b.colorsUsed = 2, b.palette.assign(2, Rgb{});
             b.masks = {0xF800, 0x07E0, 0x001F};
             b.pixels = StoreRows(16, {{0, 0xF800}});
             return b;
         }(),
         {255, 0, 0}),
    {"FileHeaderOffsetAfterAGap", [] { auto b = TwoPixelIndexed(40, 256); b.pixelOffset = 14 + 40 + 1024 + 10; return b; }(),
     {2, 100, 253}},
};

TEST(PixelBits, StartWhereTheLayoutSays) {
    for (const OffsetCase& c : kOffsets) {
        const DibDecodeResult result = Decode(c.bitmap);
        ASSERT_EQ(result.error, DibError::kNone) << c.what << ": " << result.reason;
        EXPECT_EQ(PixelAt(*result.image, 1, 0), c.secondPixel) << c.what;
    }
}

}  // namespace
