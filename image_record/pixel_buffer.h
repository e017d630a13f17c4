#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

struct PixelBufferDeleter {
    void operator()(std::uint8_t* bytes) const noexcept { std::free(bytes); }
};

// Pixel bytes of an image; freed with the image.
using PixelBuffer = std::unique_ptr<std::uint8_t[], PixelBufferDeleter>;

// Uninitialised bytes, or null when memory cannot be had. Large buffers are
// aligned for and advised to use huge pages: a fresh multi-megabyte picture
// otherwise spends most of its first write in page faults.
PixelBuffer AllocatePixelBuffer(std::size_t size);
