#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Builds small bitmap files for tests, field by field, so each test states
// exactly what its file holds. Colours are 0xRRGGBB throughout.

using Bytes = std::vector<std::uint8_t>;

struct TestBitmap {
    bool fileHeader = true;
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks;    // written after the header when present
    std::vector<std::uint32_t> palette;  // the colour table as written
    Bytes pixels;                        // the pixel bits as stored
    std::optional<std::uint32_t> pixelOffset;  // default: right after the table

    Bytes Build() const;
};

// Stored rows (each padded to 4 bytes) from pixel values given bottom row
// first: indices for 8 bits; raw little-endian words for 16 and 32; colours
// for 24 (stored blue, green, red).
Bytes StoreRows(std::uint16_t bitCount, const std::vector<std::vector<std::uint32_t>>& rows);

// A 24-bit file with both headers holding these rows, bottom row first.
Bytes Bmp(const std::vector<std::vector<std::uint32_t>>& rows, std::uint32_t headerSize = 40);
