#include "image_record/pixel_buffer.h"

#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

}  // namespace

PixelBuffer AllocatePixelBuffer(std::size_t size) {
    if (size < kHugePageSize) {
        return PixelBuffer(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
    }
    if (size > SIZE_MAX - kHugePageSize) {
        return nullptr;
    }
    const std::size_t rounded = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePageSize, rounded));
    if (bytes != nullptr) {
        // Only advice: without transparent huge pages the buffer works the same.
        madvise(bytes, rounded, MADV_HUGEPAGE);
    }
    return PixelBuffer(bytes);
}
