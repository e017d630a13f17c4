#pragma once

#include <cstddef>
#include <cstdint>

// Uninitialised bytes for a buffer of megabytes, laid out as the platform
// writes them fastest, or null; freed with std::free.
std::uint8_t* AllocateLargeBuffer(std::size_t size);
