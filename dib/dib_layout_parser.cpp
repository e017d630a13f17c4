#include <algorithm>
#include <bit>
#include <iterator>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"

namespace {

std::uint32_t ColorCountForBitCount(std::uint16_t bitCount) {
    switch (bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

// The masks a file would have had for 16 and 32 bits without bit fields.
constexpr std::uint32_t kDefaultMasks16[3] = {0x7C00, 0x03E0, 0x001F};
constexpr std::uint32_t kDefaultMasks32[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

bool IsContiguous(std::uint32_t mask) {
    if (mask == 0) {
        return true;
    }
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// Which decoder reads this (compression, bit count), or none.
DibError ChooseFormat(DibLayout& layout) {
    const bool info = layout.headerSize == kInfoHeaderSize;
    switch (static_cast<DibCompression>(layout.compression)) {
        case DibCompression::kRgb:
            switch (layout.bitCount) {
                case 1: layout.format = PixelFormat::kIndexed1; return DibError::kNone;
                case 4: layout.format = PixelFormat::kIndexed4; return DibError::kNone;
                case 8: layout.format = PixelFormat::kIndexed8; return DibError::kNone;
                case 16: layout.format = PixelFormat::kMasked16; return DibError::kNone;
                case 24: layout.format = PixelFormat::kBgr24; return DibError::kNone;
                case 32: layout.format = PixelFormat::kMasked32; return DibError::kNone;
                default: return DibError::kConversionError;
            }
        case DibCompression::kRle8:
            layout.format = PixelFormat::kRle8;
            return layout.bitCount == 8 ? DibError::kNone : DibError::kConversionError;
        case DibCompression::kRle4:
            layout.format = PixelFormat::kRle4;
            return layout.bitCount == 4 ? DibError::kNone : DibError::kConversionError;
        case DibCompression::kBitFields:
            if (!info) {
                return DibError::kConversionError;
            }
            switch (layout.bitCount) {
                case 16: layout.format = PixelFormat::kMasked16; return DibError::kNone;
                case 32: layout.format = PixelFormat::kMasked32; return DibError::kNone;
                default: return DibError::kConversionError;
            }
    }
    return DibError::kConversionError;
}

// Section of the checks that only concerns where things are in the file.
DibError ParseStructure(ByteSpan file, DibLayout& layout) {
    std::uint64_t headerOffset = 0;
    layout.hasFileHeader = HasBytes(file, 0, 2) && LoadU16(file.data()) == kFileHeaderTag;
    if (layout.hasFileHeader) {
        if (!HasBytes(file, 0, kFileHeaderSize)) {
            return DibError::kUnknownFormat;
        }
        headerOffset = kFileHeaderSize;
        layout.pixelOffset = LoadU32(file.data() + kPixelOffsetField);
    }
    if (!HasBytes(file, headerOffset, 4)) {
        return DibError::kUnknownFormat;
    }
    const std::uint8_t* header = file.data() + headerOffset;
    layout.headerSize = LoadU32(header);
    if (layout.headerSize != kCoreHeaderSize && layout.headerSize != kInfoHeaderSize) {
        return DibError::kUnknownFormat;
    }
    if (!HasBytes(file, headerOffset, layout.headerSize)) {
        return DibError::kUnknownFormat;
    }

    std::uint64_t tableOffset = headerOffset + layout.headerSize;
    if (layout.headerSize == kCoreHeaderSize) {
        // Core headers store unsigned 16-bit sizes and always count rows bottom first.
        layout.width = LoadU16(header + 4);
        layout.height = LoadU16(header + 6);
        layout.planes = LoadU16(header + 8);
        layout.bitCount = LoadU16(header + 10);
        layout.compression = static_cast<std::uint32_t>(DibCompression::kRgb);
        layout.colorEntrySize = kCoreColorEntrySize;
    } else {
        layout.width = LoadI32(header + 4);
        layout.height = LoadI32(header + 8);
        layout.planes = LoadU16(header + 12);
        layout.bitCount = LoadU16(header + 14);
        layout.compression = LoadU32(header + 16);
        layout.colorEntrySize = kInfoColorEntrySize;
        if (layout.compression == static_cast<std::uint32_t>(DibCompression::kBitFields)) {
            if (!HasBytes(file, tableOffset, kBitFieldMasksSize)) {
                return DibError::kUnknownFormat;
            }
            for (int i = 0; i < 3; ++i) {
                layout.masks[i] = LoadU32(file.data() + tableOffset + 4 * i);
            }
            layout.hasMasks = true;
            tableOffset += kBitFieldMasksSize;
        }
    }

    layout.colorCount = DibColorCount(file.subspan(headerOffset, layout.headerSize));
    if (layout.colorCount > kMaxColorCount) {
        return DibError::kUnknownFormat;
    }
    const std::uint64_t tableSize = std::uint64_t{layout.colorCount} * layout.colorEntrySize;
    if (!HasBytes(file, tableOffset, tableSize)) {
        return DibError::kUnknownFormat;
    }
    layout.tableOffset = tableOffset;
    if (!layout.hasFileHeader) {
        layout.pixelOffset = tableOffset + tableSize;
    }
    return DibError::kNone;
}

// Section of the checks that concerns what the fields say.
DibError CheckFields(DibLayout& layout) {
    if (layout.planes != 1 || layout.width <= 0 || layout.height == 0) {
        return DibError::kConversionError;
    }
    if (const DibError error = ChooseFormat(layout); error != DibError::kNone) {
        return error;
    }
    layout.topDown = layout.height < 0;
    layout.rows = layout.topDown ? 0u - static_cast<std::uint32_t>(layout.height)
                                 : static_cast<std::uint32_t>(layout.height);
    const bool runLength = layout.format == PixelFormat::kRle4 || layout.format == PixelFormat::kRle8;
    if (layout.topDown && runLength) {
        return DibError::kConversionError;
    }

    if (layout.hasMasks) {
        for (const std::uint32_t mask : layout.masks) {
            if (!IsContiguous(mask) || (layout.bitCount == 16 && mask > 0xFFFF)) {
                return DibError::kConversionError;
            }
        }
        // A writer that sets bit fields but leaves the masks out puts the
        // pixels where the masks should be. The masks end where the table starts.
        if (layout.hasFileHeader && layout.pixelOffset < layout.tableOffset) {
            return DibError::kConversionError;
        }
    } else if (layout.format == PixelFormat::kMasked16) {
        std::copy(std::begin(kDefaultMasks16), std::end(kDefaultMasks16), layout.masks);
    } else if (layout.format == PixelFormat::kMasked32) {
        std::copy(std::begin(kDefaultMasks32), std::end(kDefaultMasks32), layout.masks);
    }
    return DibError::kNone;
}

}  // namespace

std::uint32_t DibColorCount(ByteSpan header) {
    if (!HasBytes(header, 0, 4)) {
        return 0;
    }
    const std::uint32_t headerSize = LoadU32(header.data());
    if (headerSize == kCoreHeaderSize) {
        return HasBytes(header, 10, 2) ? ColorCountForBitCount(LoadU16(header.data() + 10)) : 0;
    }
    if (!HasBytes(header, 32, 4)) {
        return 0;
    }
    if (const std::uint32_t colorsUsed = LoadU32(header.data() + 32); colorsUsed != 0) {
        return colorsUsed;
    }
    return ColorCountForBitCount(LoadU16(header.data() + 14));
}

DibError ParseDibLayout(ByteSpan file, DibLayout& layout) {
    layout = DibLayout{};
    if (const DibError error = ParseStructure(file, layout); error != DibError::kNone) {
        return error;
    }
    return CheckFields(layout);
}
