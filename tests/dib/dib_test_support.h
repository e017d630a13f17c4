#pragma once

#include <gtest/gtest.h>

#include "bitmap_builder.h"
#include "dib/dib_loader.h"
#include "test_picture.h"

// The record's pixels as rows of 0xRRGGBB, bottom row first.
inline Rows Unpack(const RgbImageRecord& image) {
    Rows rows = Flat(image.sizeX, image.sizeY, 0);
    const std::uint8_t* p = image.data.get();
    for (auto& row : rows) {
        for (std::uint32_t& pixel : row) {
            pixel = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
            p += 3;
        }
    }
    return rows;
}

// A good 2 x 1 24-bit file, black, with one change.
inline Bytes With(void (*change)(TestBitmap&)) {
    TestBitmap bitmap;
    bitmap.width = 2;
    bitmap.pixels = StoreRows(24, {{0, 0}});
    change(bitmap);
    return bitmap.Build();
}

// The colours of the run-length files' tables: A, B and C at indices 0, 1, 2.
inline constexpr std::uint32_t kA = 0x0A141E, kB = 0x28323C, kC = 0x46505A;

// A run-length file of these codes (RLE8 at 8 bits, RLE4 at 4) over a
// table of A, B and C.
inline Bytes RunLengthFile(std::uint16_t bitCount, std::int32_t width, std::int32_t height, const Bytes& codes) {
    TestBitmap bitmap;
    bitmap.bitCount = bitCount;
    bitmap.compression = bitCount == 8 ? 1 : 2;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.colorsUsed = 3;
    bitmap.palette = {kA, kB, kC};
    bitmap.pixels = codes;
    return bitmap.Build();
}
