#pragma once

#include <cstdint>
#include <span>

// Little-endian field access for a file held in memory. Every read of a file
// region is preceded by HasBytes over the whole region; the loads themselves
// then need no checks and make no alignment assumptions.

using ByteSpan = std::span<const std::uint8_t>;

// True when [offset, offset + count) lies inside bytes. Written so that the
// check itself cannot overflow, whatever the file claims.
constexpr bool HasBytes(ByteSpan bytes, std::uint64_t offset, std::uint64_t count) {
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

constexpr std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::int32_t LoadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(LoadU32(p));
}
