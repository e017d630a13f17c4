#include <algorithm>
#include <cstring>

#include "dib/palette.h"
#include "dib/pixel_decoders.h"
#include "dib/pixel_store.h"

namespace {

// The decoder's position in the output. Every pixel goes through Put, which
// drops what falls past the end of the row: some encoders write the row
// padding as pixels, and the column still advances for them.
class RunLengthCanvas {
public:
    RunLengthCanvas(std::uint8_t* out, std::int32_t width, std::uint32_t rows)
        : out_(out), width_(static_cast<std::uint32_t>(width)), rows_(rows) {}

    void Put(PackedRgb color) {
        if (x_ < width_) {
            StoreRgb(out_ + (std::uint64_t{y_} * width_ + x_) * 3, color);
        }
        ++x_;
    }

    // Each returns false when the position has left the image at the top,
    // which ends decoding.
    bool EndOfLine() {
        x_ = 0;
        return ++y_ < rows_;
    }
    bool Move(std::uint32_t dx, std::uint32_t dy) {
        x_ += dx;
        y_ += dy;
        return y_ < rows_;
    }

private:
    std::uint8_t* out_;
    std::uint64_t width_;
    std::uint32_t rows_;
    std::uint64_t x_ = 0;  // may run past the row: runs, literals and deltas only add
    std::uint32_t y_ = 0;
};

enum class Escape : std::uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

// Data that ends inside a code: where the code starts, in the file.
DibRefusal CutShort(std::string_view code, std::uint64_t at, ByteSpan file) {
    return {DibError::kConversionError,
            Reason("run-length data: ", code, " at byte ", at, " goes past the end of the file (", file.size(),
                   " bytes)")};
}

// The codes of RLE8 and RLE4 differ only in how a byte holds pixels.
template <bool kFourBit>
DibRefusal Decode(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    if (layout.pixelOffset >= file.size()) {
        return {DibError::kConversionError, Reason("run-length data: offset ", layout.pixelOffset,
                                                   " is not inside the file (", file.size(), " bytes)")};
    }
    const Palette palette = ReadPalette(layout, file);
    const ByteSpan data = file.subspan(layout.pixelOffset);
    RunLengthCanvas canvas(out, layout.width, layout.rows);
    std::size_t pos = 0;

    while (pos < data.size()) {  // data that ends between codes ends the picture
        if (!HasBytes(data, pos, 2)) {
            return CutShort("a code", layout.pixelOffset + pos, file);
        }
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if constexpr (kFourBit) {
                const PackedRgb colors[2] = {palette[value >> 4], palette[value & 0xF]};
                for (std::uint32_t i = 0; i < count; ++i) {
                    canvas.Put(colors[i & 1]);
                }
            } else {
                for (std::uint32_t i = 0; i < count; ++i) {
                    canvas.Put(palette[value]);
                }
            }
            continue;
        }
        switch (static_cast<Escape>(value)) {
            case Escape::kEndOfLine:
                if (!canvas.EndOfLine()) {
                    return {};
                }
                continue;
            case Escape::kEndOfBitmap:
                return {};
            case Escape::kDelta:
                if (!HasBytes(data, pos, 2)) {
                    return CutShort("a delta", layout.pixelOffset + pos - 2, file);
                }
                pos += 2;
                if (!canvas.Move(data[pos - 2], data[pos - 1])) {
                    return {};
                }
                continue;
        }
        // A literal block of `value` pixels, padded to a 2-byte boundary.
        const std::size_t bytes = kFourBit ? (value + 1u) / 2 : value;
        if (!HasBytes(data, pos, bytes)) {
            return CutShort(Reason("a literal run of ", value, " pixels"), layout.pixelOffset + pos - 2, file);
        }
        const std::uint8_t* literal = data.data() + pos;
        for (std::uint32_t i = 0; i < value; ++i) {
            if constexpr (kFourBit) {
                canvas.Put(palette[(literal[i / 2] >> (i & 1 ? 0 : 4)) & 0xF]);
            } else {
                canvas.Put(palette[literal[i]]);
            }
        }
        // A pad byte missing at the very end of the data is no error.
        pos = std::min(data.size(), pos + bytes + (bytes & 1));
    }
    return {};
}

}  // namespace

DibRefusal DecodeRunLengthPixels(const DibLayout& layout, ByteSpan file, std::uint8_t* out) {
    // Pixels no code reaches stay black.
    std::memset(out, 0, std::uint64_t{3} * static_cast<std::uint32_t>(layout.width) * layout.rows);
    return layout.format == PixelFormat::kRle4 ? Decode<true>(layout, file, out) : Decode<false>(layout, file, out);
}
