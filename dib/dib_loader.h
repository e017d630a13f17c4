#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "dib/dib_error.h"
#include "image_record/rgb_image_record.h"

// Reading Windows bitmap files (with or without their 14-byte file header)
// into packed red-green-blue records. The Load functions report every failure
// through the message sink, exactly once, with the caption "Error", and return
// null; ReadDibFile and DecodeDibImage report nothing and return the failure,
// and why, instead.

// The entry the viewer uses: name is a path in the local 8-bit encoding.
std::unique_ptr<RgbImageRecord> LoadDibImage(const char* name);

// name is UTF-16, opened and shown as the platform does for such names.
std::unique_ptr<RgbImageRecord> LoadDibImageWide(const char16_t* name);

struct DibDecodeResult {
    DibError error = DibError::kNone;
    std::string reason;                     // when refused: one line saying exactly why
    std::unique_ptr<RgbImageRecord> image;  // set exactly when error is kNone
};

// Decodes a whole bitmap file held in memory.
DibDecodeResult DecodeDibImage(std::span<const std::uint8_t> file);

class MappedFile;

// Reads and decodes the file at path. A file cut short by someone else while
// it is read is refused as a conversion error.
DibDecodeResult ReadDibFile(const std::string& path);

// The same for a file already mapped.
DibDecodeResult DecodeMappedFile(const MappedFile& file);

// Length of the colour table that follows a DIB header (given from its first
// byte): the colours-used field when non-zero, else 2, 16 or 256 for 1, 4 or
// 8 bits per pixel, else 0. A header too short to say gives 0.
std::uint32_t DibColorCount(std::span<const std::uint8_t> header);
