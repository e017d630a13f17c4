#pragma once

#include <cstdint>

#include "dib/byte_reader.h"
#include "dib/dib_error.h"
#include "dib/dib_layout.h"

// The row decoders. Each writes the whole packed image (3 x width x rows
// bytes, bottom row first) into out. The uncompressed ones need all their
// stored rows inside file; the run-length one checks its codes itself.

void DecodeIndexedPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out);
void DecodeBgr24Pixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out);
void DecodeMaskedPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out);
DibRefusal DecodeRunLengthPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out);
