#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

struct PixelBufferDeleter {
    void operator()(std::uint8_t* bytes) const noexcept { std::free(bytes); }
};

// Pixel bytes of an image; freed with the image.
using PixelBuffer = std::unique_ptr<std::uint8_t[], PixelBufferDeleter>;

// Kept free of pictures for what the program needs after one is loaded: the
// window's GL buffers, also at full screen on a large monitor, the GL's copy
// of what each repaint draws, and the error box with its font, which must
// still show when a picture does not fit.
inline constexpr std::uint64_t kMemoryKeptFree = std::uint64_t{64} << 20;

// The bytes a new pixel buffer may take now: the memory this process can
// still get less what is kept free. Nothing where that cannot be told.
std::optional<std::uint64_t> PixelRoom();

// Uninitialised bytes, or null when memory cannot be had: when the system
// refuses, and when a large buffer would not fit in the room at hand (Linux
// grants more than it has, and kills a program that writes too much of it).
PixelBuffer AllocatePixelBuffer(std::size_t size);
