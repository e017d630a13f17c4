#include "bitmap_builder.h"

namespace {

// v as count little-endian bytes.
void Put(Bytes& out, std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

}  // namespace

Bytes TestBitmap::Build() const {
    Bytes dib;
    Put(dib, headerSize, 4);
    const int sizeBytes = headerSize == 12 ? 2 : 4;  // core headers hold 16-bit sizes
    Put(dib, static_cast<std::uint32_t>(width), sizeBytes);
    Put(dib, static_cast<std::uint32_t>(height), sizeBytes);
    Put(dib, planes, 2);
    Put(dib, bitCount, 2);
    if (headerSize != 12) {
        Put(dib, compression, 4);
        Put(dib, 0, 4);  // image size: readers must not trust it
        Put(dib, 2835, 4);
        Put(dib, 2835, 4);
        Put(dib, colorsUsed, 4);
        Put(dib, 0, 4);
        dib.resize(headerSize, 0);
    }
    for (const std::uint32_t mask : masks) {
        Put(dib, mask, 4);
    }
    for (const std::uint32_t colour : palette) {
        Put(dib, colour, headerSize == 12 ? 3 : 4);  // blue, green, red (, 0)
    }
    if (!fileHeader) {
        dib.insert(dib.end(), pixels.begin(), pixels.end());
        return dib;
    }
    const std::uint32_t offset = pixelOffset.value_or(static_cast<std::uint32_t>(14 + dib.size()));
    Bytes file = {'B', 'M'};
    Put(file, static_cast<std::uint32_t>(14 + dib.size() + pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, offset, 4);
    file.insert(file.end(), dib.begin(), dib.end());
    if (offset > file.size()) {
        file.resize(offset, 0);
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes StoreRows(std::uint16_t bitCount, const std::vector<std::vector<std::uint32_t>>& rows) {
    Bytes out;
    for (const auto& row : rows) {
        const std::size_t start = out.size();
        for (const std::uint32_t v : row) {
            Put(out, v, bitCount / 8);
        }
        out.resize(start + (out.size() - start + 3) / 4 * 4, 0);
    }
    return out;
}

Bytes Bmp(const std::vector<std::vector<std::uint32_t>>& rows, std::uint32_t headerSize) {
    TestBitmap bitmap;
    bitmap.headerSize = headerSize;
    bitmap.width = static_cast<std::int32_t>(rows[0].size());
    bitmap.height = static_cast<std::int32_t>(rows.size());
    bitmap.pixels = StoreRows(24, rows);
    return bitmap.Build();
}
