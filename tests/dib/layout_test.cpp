// Where headers, tables and pixel bits are found, and which layouts are refused.

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

TEST(PixelBits, BareDibFollowsTheColorTable) {
    // Without a file header the bits start right after the table: header + 40
    // + 4 x 256 here, header + 40 + 4 x 16 with colours used 16, and header +
    // 12 + 3 x 256 for a core header.
    for (const auto& [headerSize, tableLength, colorsUsed] :
         {std::tuple{40u, 256u, 0u}, {40u, 16u, 16u}, {12u, 256u, 0u}}) {
        TestBitmap bitmap = TwoPixelIndexed(headerSize, tableLength);
        bitmap.fileHeader = false;
        bitmap.colorsUsed = colorsUsed;
        const DibDecodeResult result = Decode(bitmap);
        ASSERT_EQ(result.error, DibError::kNone) << headerSize << "/" << tableLength;
        EXPECT_EQ(PixelAt(*result.image, 0, 0), (Rgb{1, 100, 254}));
        EXPECT_EQ(PixelAt(*result.image, 1, 0), (Rgb{2, 100, 253}));
    }
}

TEST(PixelBits, FileHeaderOffsetIsHonouredEvenAfterAGap) {
    TestBitmap bitmap = TwoPixelIndexed(40, 256);
    bitmap.pixelOffset = 14 + 40 + 1024 + 10;  // ten bytes of nothing before the bits
    const DibDecodeResult result = Decode(bitmap);
    ASSERT_EQ(result.error, DibError::kNone);
    EXPECT_EQ(PixelAt(*result.image, 1, 0), (Rgb{2, 100, 253}));
}

TEST(PixelBits, DirectColourTableIsSkipped) {
    TestBitmap bitmap;
    bitmap.fileHeader = false;
    bitmap.colorsUsed = 5;
    bitmap.palette.assign(5, Rgb{9, 9, 9});
    bitmap.pixels = StoreRows(24, {{0x123456}});
    const DibDecodeResult result = Decode(bitmap);
    ASSERT_EQ(result.error, DibError::kNone);
    EXPECT_EQ(PixelAt(*result.image, 0, 0), (Rgb{0x12, 0x34, 0x56}));
}

TEST(PixelBits, BareBitFieldsPutMasksBeforeTheTable) {
    TestBitmap bitmap;
    bitmap.fileHeader = false;
    bitmap.bitCount = 16;
    bitmap.compression = 3;
    bitmap.colorsUsed = 2;
    bitmap.masks = {0xF800, 0x07E0, 0x001F};
    bitmap.palette.assign(2, Rgb{});
    bitmap.pixels = StoreRows(16, {{0xF800}});
    const DibDecodeResult result = Decode(bitmap);
    ASSERT_EQ(result.error, DibError::kNone);
    EXPECT_EQ(PixelAt(*result.image, 0, 0), (Rgb{255, 0, 0}));
}

}  // namespace
