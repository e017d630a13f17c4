#include "image_record/pixel_buffer.h"

#include <algorithm>

#include "image_record/large_buffer.h"
#include "image_record/memory_room.h"

namespace {

// From this size on a buffer is checked against all the memory at hand;
// below it a buffer is small beside what is kept free.
constexpr std::size_t kLargeBuffer = std::size_t{2} << 20;

std::optional<std::uint64_t> LessKeptFree(std::optional<std::uint64_t> room) {
    if (!room) {
        return std::nullopt;
    }
    return *room - std::min(*room, kMemoryKeptFree);
}

}  // namespace

std::optional<std::uint64_t> PixelRoom() {
    return LessKeptFree(MemoryRoom());
}

PixelBuffer AllocatePixelBuffer(std::size_t size) {
    const bool large = size >= kLargeBuffer;
    // Under an address-space limit what is kept free may be gone already,
    // whatever the picture's size: the GL and the box would then fail as
    // they draw, where the picture alone can still be refused.
    const std::optional<std::uint64_t> room = large ? PixelRoom() : LessKeptFree(AddressSpaceRoom());
    if (room && size > *room) {
        return nullptr;
    }
    return PixelBuffer(large ? AllocateLargeBuffer(size) : static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
}
