#pragma once

#include <cstddef>
#include <cstdint>

#include "dib/byte_reader.h"
#include "dib/dib_error.h"

// Numbers of the file format.
inline constexpr std::uint16_t kFileHeaderTag = 0x4D42;  // "BM"
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kPixelOffsetField = 10;  // in the file header
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::size_t kBitFieldMasksSize = 12;  // red, green, blue
inline constexpr std::uint32_t kCoreColorEntrySize = 3;
inline constexpr std::uint32_t kInfoColorEntrySize = 4;
inline constexpr std::uint32_t kMaxColorCount = 0xFFFF;

// The compression field's codes: the first four are read, the others only
// named when a file is refused.
enum class DibCompression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
};

// The red, green and blue masks of 16- and 32-bit pixels without bit fields.
inline constexpr std::uint32_t kDefaultMasks16[3] = {0x7C00, 0x03E0, 0x001F};
inline constexpr std::uint32_t kDefaultMasks32[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

// How the pixel bits are stored, chosen once from (compression, bit count).
enum class PixelFormat {
    kIndexed1,
    kIndexed4,
    kIndexed8,
    kRle4,
    kRle8,
    kMasked16,  // default 5-5-5 layout or bit-field masks
    kBgr24,
    kMasked32,  // default 8-8-8 layout or bit-field masks
};

constexpr bool IsRunLength(PixelFormat format) { return format == PixelFormat::kRle4 || format == PixelFormat::kRle8; }

// Everything the decoders need to know about a file, read once from its
// headers; nothing reads the headers again.
struct DibLayout {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative means rows run top first
    std::uint32_t rows = 0;   // |height|
    bool topDown = false;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorCount = 0;
    std::size_t colorEntrySize = 0;
    std::uint32_t masks[3] = {};  // red, green, blue
    bool hasMasks = false;        // read from the file (bit-field compression)
    bool hasFileHeader = false;
    std::uint64_t tableOffset = 0;  // of the colour table in the file
    std::uint64_t pixelOffset = 0;  // of the pixel bits in the file
    PixelFormat format = PixelFormat::kBgr24;
};

// Reads the file header (if any), the DIB header, masks and colour table
// positions, and decides whether the combination of fields can be converted.
// Refusals: kUnknownFormat for a layout we do not know or a file too short to
// hold it; kConversionError for fields, masks or combinations we cannot convert.
DibRefusal ParseDibLayout(ByteSpan file, DibLayout& layout);

// Bytes in one stored row of an uncompressed image: padded to 4 bytes.
constexpr std::uint64_t StoredRowSize(std::int32_t width, std::uint16_t bitCount) {
    return (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
}
