#pragma once

#include <cstdint>

#include "dib/byte_reader.h"
#include "dib/dib_layout.h"

// Uncompressed pixel bits: |height| rows, each padded to 4 bytes.
//
// Calls decodeRow(source row, output row) for every row, the output bottom
// row first whichever way the file stores them. The rows must lie inside
// file (DecodeDibImage checks it before any decoder runs).
template <typename DecodeRow>
void ForEachStoredRow(const DibLayout& layout, ByteSpan file, std::uint8_t* out, DecodeRow decodeRow) {
    const std::uint64_t stride = StoredRowSize(layout.width, layout.bitCount);
    const std::uint64_t outStride = std::uint64_t{3} * static_cast<std::uint32_t>(layout.width);
    const std::uint8_t* pixels = file.data() + layout.pixelOffset;
    for (std::uint32_t y = 0; y < layout.rows; ++y) {
        const std::uint32_t stored = layout.topDown ? layout.rows - 1 - y : y;
        decodeRow(pixels + stored * stride, out + y * outStride);
    }
}
