#include "image_record/large_buffer.h"

#include <cstdlib>

// The heap takes a buffer this large from fresh pages of its own, so no
// alignment or advice makes it faster.
std::uint8_t* AllocateLargeBuffer(std::size_t size) {
    return static_cast<std::uint8_t*>(std::malloc(size));
}
