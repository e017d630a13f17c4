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

bool IsContiguous(std::uint32_t mask) {
    if (mask == 0) {
        return true;
    }
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

std::string_view CompressionName(std::uint32_t compression) {
    switch (static_cast<DibCompression>(compression)) {
        case DibCompression::kRgb: return " (none)";
        case DibCompression::kRle8: return " (RLE8)";
        case DibCompression::kRle4: return " (RLE4)";
        case DibCompression::kBitFields: return " (bit fields)";
        case DibCompression::kJpeg: return " (embedded JPEG)";
        case DibCompression::kPng: return " (embedded PNG)";
        case DibCompression::kAlphaBitFields: return " (bit fields with alpha)";
    }
    return "";
}

DibRefusal NeedsBitCount(const DibLayout& layout, std::string_view accepted) {
    return {DibError::kConversionError,
            Reason("compression ", layout.compression, CompressionName(layout.compression), " needs ", accepted,
                   " bits per pixel, not ", layout.bitCount)};
}

// Which decoder reads this (compression, bit count), or why none does. Core
// headers have no compression field: they always come here as 0.
DibRefusal ChooseFormat(DibLayout& layout) {
    switch (static_cast<DibCompression>(layout.compression)) {
        case DibCompression::kRgb:
            switch (layout.bitCount) {
                case 1: layout.format = PixelFormat::kIndexed1; return {};
                case 4: layout.format = PixelFormat::kIndexed4; return {};
                case 8: layout.format = PixelFormat::kIndexed8; return {};
                case 16: layout.format = PixelFormat::kMasked16; return {};
                case 24: layout.format = PixelFormat::kBgr24; return {};
                case 32: layout.format = PixelFormat::kMasked32; return {};
                default:
                    return {DibError::kConversionError,
                            Reason("bit count ", layout.bitCount, ": only 1, 4, 8, 16, 24 and 32 are read")};
            }
        case DibCompression::kRle8:
            layout.format = PixelFormat::kRle8;
            return layout.bitCount == 8 ? DibRefusal{} : NeedsBitCount(layout, "8");
        case DibCompression::kRle4:
            layout.format = PixelFormat::kRle4;
            return layout.bitCount == 4 ? DibRefusal{} : NeedsBitCount(layout, "4");
        case DibCompression::kBitFields:
            switch (layout.bitCount) {
                case 16: layout.format = PixelFormat::kMasked16; return {};
                case 32: layout.format = PixelFormat::kMasked32; return {};
                default: return NeedsBitCount(layout, "16 or 32");
            }
        default:
            break;
    }
    return {DibError::kConversionError,
            Reason("compression ", layout.compression, CompressionName(layout.compression),
                   ": only 0 (none), 1 (RLE8), 2 (RLE4) and 3 (bit fields) are read")};
}

// A part of the file that must be there, and is not.
DibRefusal Missing(std::string_view what, std::uint64_t offset, std::uint64_t size, ByteSpan file) {
    return {DibError::kUnknownFormat, Reason("file too short for ", what, " at bytes ", offset, " to ",
                                             offset + size - 1, ": it has ", file.size(), " bytes")};
}

std::string_view HeaderName(std::uint32_t headerSize) {
    switch (headerSize) {
        case 16:
        case 64: return " (an extended core header)";
        case 52:
        case 56: return " (an info header with masks)";
        case 108: return " (a version 4 header)";
        case 124: return " (a version 5 header)";
        default: return "";
    }
}

// Section of the checks that only concerns where things are in the file.
DibRefusal ParseStructure(ByteSpan file, DibLayout& layout) {
    std::uint64_t headerOffset = 0;
    layout.hasFileHeader = HasBytes(file, 0, 2) && LoadU16(file.data()) == kFileHeaderTag;
    if (layout.hasFileHeader) {
        if (!HasBytes(file, 0, kFileHeaderSize)) {
            return Missing("a file header", 0, kFileHeaderSize, file);
        }
        headerOffset = kFileHeaderSize;
        layout.pixelOffset = LoadU32(file.data() + kPixelOffsetField);
    }
    if (!HasBytes(file, headerOffset, 4)) {
        return Missing("the header size field", headerOffset, 4, file);
    }
    const std::uint8_t* header = file.data() + headerOffset;
    layout.headerSize = LoadU32(header);
    if (layout.headerSize != kCoreHeaderSize && layout.headerSize != kInfoHeaderSize) {
        return {DibError::kUnknownFormat, Reason("header size ", layout.headerSize, HeaderName(layout.headerSize),
                                                 ": only 12 (core) and 40 (info) are read")};
    }
    if (!HasBytes(file, headerOffset, layout.headerSize)) {
        return Missing(layout.headerSize == kCoreHeaderSize ? "a 12-byte core header" : "a 40-byte info header",
                       headerOffset, layout.headerSize, file);
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
                return Missing("the three bit-field masks", tableOffset, kBitFieldMasksSize, file);
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
        return {DibError::kUnknownFormat, Reason("colours used ", layout.colorCount, ": at most ", kMaxColorCount)};
    }
    const std::uint64_t tableSize = std::uint64_t{layout.colorCount} * layout.colorEntrySize;
    if (!HasBytes(file, tableOffset, tableSize)) {
        return Missing(Reason("a colour table of ", layout.colorCount, " entries of ", layout.colorEntrySize, " bytes"),
                       tableOffset, tableSize, file);
    }
    layout.tableOffset = tableOffset;
    if (!layout.hasFileHeader) {
        layout.pixelOffset = tableOffset + tableSize;
    }
    return {};
}

// Section of the checks that concerns what the fields say.
DibRefusal CheckFields(DibLayout& layout) {
    if (layout.planes != 1) {
        return {DibError::kConversionError, Reason("planes ", layout.planes, ": only 1 is read")};
    }
    if (layout.width <= 0) {
        return {DibError::kConversionError, Reason("width ", layout.width, ": at least 1 is read")};
    }
    if (layout.height == 0) {
        return {DibError::kConversionError, "height 0: a picture needs at least one row"};
    }
    if (DibRefusal refusal = ChooseFormat(layout)) {
        return refusal;
    }
    layout.topDown = layout.height < 0;
    layout.rows = layout.topDown ? 0u - static_cast<std::uint32_t>(layout.height)
                                 : static_cast<std::uint32_t>(layout.height);
    if (layout.topDown && IsRunLength(layout.format)) {
        return {DibError::kConversionError,
                Reason("height ", layout.height, " (rows top first) with compression ", layout.compression,
                       CompressionName(layout.compression), ": run-length rows are read bottom first only")};
    }

    if (layout.hasMasks) {
        // A writer that sets bit fields but leaves the masks out puts the
        // pixels where the masks should be, so this is checked before the
        // masks themselves. The masks end where the table starts.
        if (layout.hasFileHeader && layout.pixelOffset < layout.tableOffset) {
            return {DibError::kConversionError,
                    Reason("pixel data offset ", layout.pixelOffset, ": the bit-field masks run to offset ",
                           layout.tableOffset, ", so the file has no room for them")};
        }
        constexpr std::string_view kNames[] = {"red", "green", "blue"};
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t mask = layout.masks[i];
            if (!IsContiguous(mask)) {
                return {DibError::kConversionError,
                        Reason(kNames[i], " mask ", Hex32(mask), ": a mask must be one run of set bits")};
            }
            if (layout.bitCount == 16 && mask > 0xFFFF) {
                return {DibError::kConversionError,
                        Reason(kNames[i], " mask ", Hex32(mask), ": a 16-bit pixel has no bits above bit 15")};
            }
        }
    } else if (layout.format == PixelFormat::kMasked16) {
        std::copy(std::begin(kDefaultMasks16), std::end(kDefaultMasks16), layout.masks);
    } else if (layout.format == PixelFormat::kMasked32) {
        std::copy(std::begin(kDefaultMasks32), std::end(kDefaultMasks32), layout.masks);
    }
    return {};
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

DibRefusal ParseDibLayout(ByteSpan file, DibLayout& layout) {
    layout = DibLayout{};
    if (DibRefusal refusal = ParseStructure(file, layout)) {
        return refusal;
    }
    return CheckFields(layout);
}
