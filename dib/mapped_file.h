#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// A whole file mapped read-only into memory, unmapped when the object goes.
// Move-only: exactly one owner unmaps.
class MappedFile {
public:
    // Nothing for a missing or unreadable file, a directory or other
    // non-regular file, and an empty file (which cannot be mapped).
    static std::optional<MappedFile> Open(const std::string& path);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> Bytes() const { return {address_, size_}; }

private:
    MappedFile(const std::uint8_t* address, std::size_t size) : address_(address), size_(size) {}
    void Unmap() noexcept;

    const std::uint8_t* address_ = nullptr;
    std::size_t size_ = 0;
};
