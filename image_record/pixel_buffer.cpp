#include "image_record/pixel_buffer.h"

#include <sys/mman.h>

#include <algorithm>

#include "image_record/memory_room.h"

namespace {

// Also where the room is checked: below it a buffer is small beside what is kept free.
constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

std::optional<std::uint64_t> LessKeptFree(std::optional<std::uint64_t> room) {
    if (!room) {
        return std::nullopt;
    }
    return *room - std::min(*room, kMemoryKeptFree);
}

bool Fits(std::size_t size, std::optional<std::uint64_t> room) {
    return !room || size <= *room;
}

}  // namespace

std::optional<std::uint64_t> PixelRoom() {
    return LessKeptFree(MemoryRoom());
}

PixelBuffer AllocatePixelBuffer(std::size_t size) {
    if (size < kHugePageSize) {
        // Under an address-space limit what is kept free may be gone already,
        // whatever the picture's size: the GL and the box would then fail
        // as they draw, where the picture alone can still be refused.
        if (!Fits(size, LessKeptFree(AddressSpaceRoom()))) {
            return nullptr;
        }
        return PixelBuffer(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
    }
    if (size > SIZE_MAX - kHugePageSize) {
        return nullptr;
    }
    const std::size_t rounded = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    if (!Fits(rounded, PixelRoom())) {
        return nullptr;
    }
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePageSize, rounded));
    if (bytes != nullptr) {
        // Only advice: without transparent huge pages the buffer works the same.
        madvise(bytes, rounded, MADV_HUGEPAGE);
    }
    return PixelBuffer(bytes);
}
