// libFuzzer target: any bytes through the in-memory decode. Besides what the
// sanitizers catch, it checks what the loader promises its caller: an image
// exactly when there is no error, of the size the header announced, with
// every one of its 3 x sizeX x sizeY bytes there to be read, and a reason
// with every refusal.

#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"

namespace {

// A few bytes of run-length codes may announce a picture of up to 2 GB, all
// black but for what the codes reach. The loader accepts that, but clearing
// such buffers would slow the search to a crawl, so inputs whose output passes
// 1 MB (still a row of 349,525 pixels) are skipped and not kept.
constexpr std::uint64_t kMaxOutputBytes = std::uint64_t{1} << 20;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "dib_fuzzer: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteSpan file(data, size);
    DibLayout layout;
    if (!ParseDibLayout(file, layout) &&
        std::uint64_t{3} * static_cast<std::uint32_t>(layout.width) * layout.rows > kMaxOutputBytes) {
        return -1;
    }

    const DibDecodeResult result = DecodeDibImage(file);
    if ((result.error == DibError::kNone) != (result.image != nullptr)) {
        Fail("an image must come exactly when there is no error");
    }
    if (!result.image) {
        if (result.reason.empty()) {
            Fail("a refusal must say why");
        }
        return 0;
    }
    const RgbImageRecord& image = *result.image;
    if (image.sizeX <= 0 || image.sizeY <= 0 || image.sizeX != layout.width ||
        static_cast<std::uint32_t>(image.sizeY) != layout.rows || !image.data) {
        Fail("the image's size must be the header's width and |height|");
    }
    // ASan reports a buffer shorter than 3 x sizeX x sizeY here.
    const std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(image.sizeX) * static_cast<std::size_t>(image.sizeY);
    volatile std::uint8_t edge = image.data[0];
    edge = image.data[bytes - 1];
    (void)edge;
    return 0;
}
