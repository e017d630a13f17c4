#include "image_record/pixel_buffer.h"

#include <sys/mman.h>

#include <algorithm>

#include "image_record/memory_room.h"

namespace {

// Also where the room is checked: below it a buffer is small beside what is kept free.
constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

}  // namespace

std::optional<std::uint64_t> PixelRoom() {
    const std::optional<std::uint64_t> room = MemoryRoom();
    if (!room) {
        return std::nullopt;
    }
    return *room - std::min(*room, kMemoryKeptFree);
}

PixelBuffer AllocatePixelBuffer(std::size_t size) {
    if (size < kHugePageSize) {
        return PixelBuffer(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
    }
    if (size > SIZE_MAX - kHugePageSize) {
        return nullptr;
    }
    const std::size_t rounded = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    if (const std::optional<std::uint64_t> room = PixelRoom(); room && size > *room) {
        return nullptr;
    }
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePageSize, rounded));
    if (bytes != nullptr) {
        // Only advice: without transparent huge pages the buffer works the same.
        madvise(bytes, rounded, MADV_HUGEPAGE);
    }
    return PixelBuffer(bytes);
}
