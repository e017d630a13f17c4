#include "image_record/large_buffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

}  // namespace

// Aligned for and advised to use huge pages: a fresh multi-megabyte picture
// otherwise spends most of its first write in page faults.
std::uint8_t* AllocateLargeBuffer(std::size_t size) {
    if (size > SIZE_MAX - kHugePageSize) {
        return nullptr;
    }
    const std::size_t rounded = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePageSize, rounded));
    if (bytes != nullptr) {
        // Only advice: without transparent huge pages the buffer works the same.
        madvise(bytes, rounded, MADV_HUGEPAGE);
    }
    return bytes;
}
