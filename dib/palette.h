#pragma once

#include <array>

#include "dib/byte_reader.h"
#include "dib/dib_layout.h"
#include "dib/pixel_store.h"

// The colour table as packed colours, one per possible 8-bit index. Indices
// at or past the table's length are black.
using Palette = std::array<PackedRgb, 256>;

// The table's bytes must lie inside file (ParseDibLayout makes sure).
Palette ReadPalette(const DibLayout& layout, ByteSpan file);
