#include <climits>
#include <new>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"
#include "dib/pixel_decoders.h"
#include "dib/stored_rows.h"

namespace {

bool IsRunLength(PixelFormat format) {
    return format == PixelFormat::kRle4 || format == PixelFormat::kRle8;
}

// The largest picture accepted: its 24-bit rows, padded to 4 bytes, must fit
// a signed 32-bit size. Checked before anything that large is allocated, so a
// tiny file that announces a huge picture costs nothing.
bool FitsSizeLimit(const DibLayout& layout) {
    const std::uint64_t paddedRow = (std::uint64_t{3} * static_cast<std::uint32_t>(layout.width) + 3) / 4 * 4;
    return paddedRow * layout.rows <= INT32_MAX;
}

DibError DecodePixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    switch (layout.format) {
        case PixelFormat::kIndexed1:
        case PixelFormat::kIndexed4:
        case PixelFormat::kIndexed8:
            DecodeIndexedPixels(layout, file, out);
            return DibError::kNone;
        case PixelFormat::kBgr24:
            DecodeBgr24Pixels(layout, file, out);
            return DibError::kNone;
        case PixelFormat::kMasked16:
        case PixelFormat::kMasked32:
            DecodeMaskedPixels(layout, file, out);
            return DibError::kNone;
        case PixelFormat::kRle4:
        case PixelFormat::kRle8:
            return DecodeRunLengthPixels(layout, file, out);
    }
    return DibError::kConversionError;
}

}  // namespace

DibDecodeResult DecodeDibImage(ByteSpan file) {
    DibLayout layout;
    if (const DibError error = ParseDibLayout(file, layout); error != DibError::kNone) {
        return {error, nullptr};
    }
    if (!FitsSizeLimit(layout)) {
        return {DibError::kOutOfMemory, nullptr};
    }
    if (!IsRunLength(layout.format) && !HasStoredRows(layout, file)) {
        return {DibError::kConversionError, nullptr};
    }

    // The record, the pixels and the decoders' small tables are the only
    // allocations; any of them failing is the same refusal.
    try {
        auto image = std::make_unique<RgbImageRecord>();
        image->sizeX = layout.width;
        image->sizeY = static_cast<std::int32_t>(layout.rows);
        image->data = AllocatePixelBuffer(std::size_t{3} * static_cast<std::uint32_t>(layout.width) * layout.rows);
        if (!image->data) {
            return {DibError::kOutOfMemory, nullptr};
        }
        if (const DibError error = DecodePixels(layout, file, image->data.get()); error != DibError::kNone) {
            return {error, nullptr};
        }
        return {DibError::kNone, std::move(image)};
    } catch (const std::bad_alloc&) {
        return {DibError::kOutOfMemory, nullptr};
    }
}
