#include "bitmap_builder.h"

namespace {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v);
    Put16(out, v >> 16);
}

}  // namespace

Bytes TestBitmap::Build() const {
    Bytes dib;
    Put32(dib, headerSize);
    if (headerSize == 12) {
        Put16(dib, static_cast<std::uint32_t>(width));
        Put16(dib, static_cast<std::uint32_t>(height));
        Put16(dib, planes);
        Put16(dib, bitCount);
    } else {
        Put32(dib, static_cast<std::uint32_t>(width));
        Put32(dib, static_cast<std::uint32_t>(height));
        Put16(dib, planes);
        Put16(dib, bitCount);
        Put32(dib, compression);
        Put32(dib, 0);  // image size: readers must not trust it
        Put32(dib, 2835);
        Put32(dib, 2835);
        Put32(dib, colorsUsed);
        Put32(dib, 0);
        dib.resize(headerSize, 0);
    }
    for (const std::uint32_t mask : masks) {
        Put32(dib, mask);
    }
    for (const Rgb& c : palette) {
        dib.insert(dib.end(), {c.b, c.g, c.r});
        if (headerSize != 12) {
            dib.push_back(0);
        }
    }
    if (!fileHeader) {
        dib.insert(dib.end(), pixels.begin(), pixels.end());
        return dib;
    }
    const std::uint32_t offset = pixelOffset.value_or(static_cast<std::uint32_t>(14 + dib.size()));
    Bytes file = {'B', 'M'};
    Put32(file, static_cast<std::uint32_t>(14 + dib.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
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
            for (int i = 0; i < bitCount / 8; ++i) {
                out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            }
        }
        while ((out.size() - start) % 4 != 0) {
            out.push_back(0);
        }
    }
    return out;
}
