#include "dib/palette.h"

#include <algorithm>

Palette ReadPalette(const DibLayout& layout, ByteSpan file) {
    Palette palette{};
    const std::uint32_t used = std::min<std::uint32_t>(layout.colorCount, palette.size());
    const std::uint8_t* entry = file.data() + layout.tableOffset;
    for (std::uint32_t i = 0; i < used; ++i, entry += layout.colorEntrySize) {
        palette[i] = PackRgb(entry[2], entry[1], entry[0]);  // stored blue, green, red
    }
    return palette;
}
