#include <climits>
#include <new>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"
#include "dib/pixel_decoders.h"

namespace {

// The largest picture accepted: its 24-bit rows, padded to 4 bytes, must fit
// a signed 32-bit size. Checked before anything that large is allocated. A
// tiny file may still announce a picture of up to 2 GB: uncompressed, it is
// refused for its missing rows before the allocation, but a run-length file
// is valid as it stands (every pixel it leaves out is black), so its whole
// picture is allocated and written, where it fits in the memory at hand.
DibRefusal CheckSizeLimit(const DibLayout& layout) {
    const std::uint64_t paddedRow = (std::uint64_t{3} * static_cast<std::uint32_t>(layout.width) + 3) / 4 * 4;
    if (paddedRow * layout.rows <= INT32_MAX) {
        return {};
    }
    return {DibError::kOutOfMemory, Reason(layout.width, " x ", layout.rows, " pixels need ", paddedRow * layout.rows,
                                           " bytes as 24-bit rows: the limit is ", INT32_MAX)};
}

// The image-size field is often 0 or wrong, so stride x rows is what we check.
DibRefusal CheckStoredRows(const DibLayout& layout, ByteSpan file) {
    const std::uint64_t stride = StoredRowSize(layout.width, layout.bitCount);
    if (HasBytes(file, layout.pixelOffset, stride * layout.rows)) {
        return {};
    }
    return {DibError::kConversionError,
            Reason("pixel data: ", layout.rows, " rows of ", stride, " bytes from offset ", layout.pixelOffset,
                   " need ", layout.pixelOffset + stride * layout.rows, " bytes, the file has ", file.size())};
}

DibRefusal DecodePixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    switch (layout.format) {
        case PixelFormat::kIndexed1:
        case PixelFormat::kIndexed4:
        case PixelFormat::kIndexed8:
            DecodeIndexedPixels(layout, file, out);
            return {};
        case PixelFormat::kBgr24:
            DecodeBgr24Pixels(layout, file, out);
            return {};
        case PixelFormat::kMasked16:
        case PixelFormat::kMasked32:
            DecodeMaskedPixels(layout, file, out);
            return {};
        case PixelFormat::kRle4:
        case PixelFormat::kRle8:
            return DecodeRunLengthPixels(layout, file, out);
    }
    return {DibError::kConversionError, "no decoder for this pixel format"};
}

std::string NoRoomReason(std::size_t bytes) {
    const std::optional<std::uint64_t> room = PixelRoom();
    if (!room) {
        return Reason("no memory for the ", bytes, " bytes of the picture");
    }
    return Reason("no memory for the ", bytes, " bytes of the picture: ", *room, " bytes at hand, after ",
                  kMemoryKeptFree, " kept free");
}

DibDecodeResult Refused(DibRefusal refusal) {
    return {refusal.error, std::move(refusal.reason), nullptr};
}

}  // namespace

DibDecodeResult DecodeDibImage(ByteSpan file) {
    DibLayout layout;
    if (DibRefusal refusal = ParseDibLayout(file, layout)) {
        return Refused(std::move(refusal));
    }
    if (DibRefusal refusal = CheckSizeLimit(layout)) {
        return Refused(std::move(refusal));
    }
    if (!IsRunLength(layout.format)) {
        if (DibRefusal refusal = CheckStoredRows(layout, file)) {
            return Refused(std::move(refusal));
        }
    }

    // The record, the pixels and the decoders' small tables are the only
    // allocations; any of them failing is the same refusal.
    const std::size_t bytes = std::size_t{3} * static_cast<std::uint32_t>(layout.width) * layout.rows;
    try {
        auto image = std::make_unique<RgbImageRecord>();
        image->sizeX = layout.width;
        image->sizeY = static_cast<std::int32_t>(layout.rows);
        image->data = AllocatePixelBuffer(bytes);
        if (!image->data) {
            return {DibError::kOutOfMemory, NoRoomReason(bytes), nullptr};
        }
        if (DibRefusal refusal = DecodePixels(layout, file, image->data.get())) {
            return Refused(std::move(refusal));
        }
        return {DibError::kNone, {}, std::move(image)};
    } catch (const std::bad_alloc&) {
        return {DibError::kOutOfMemory, "no memory for the record or a decoding table", nullptr};
    }
}
