#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "dib/dib_error.h"
#include "dib/shrink_watch.h"

// A whole file mapped read-only into memory, unmapped when the object goes.
// It can be moved into place once made, never copied or assigned: exactly
// one owner unmaps.
//
// If another process cuts the file short while it is mapped, reading the
// lost part gives zeros instead of killing the process, and Shrank() tells.
class MappedFile {
public:
    // Nothing for a missing or unreadable file, a directory or other
    // non-regular file, and an empty file (which cannot be mapped): an open
    // failure; and nothing where memory or address space runs short: out of
    // memory. failure, when given, then says which and why, in the system's words.
    static std::optional<MappedFile> Open(const std::string& path, DibRefusal* failure = nullptr);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) = delete;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> Bytes() const { return {address_, size_}; }

    // True once a read has found the file shorter than when it was mapped:
    // what was read is not the file's, whatever it looked like.
    bool Shrank() const { return watch_ && watch_->Shrank(); }

private:
    MappedFile(const std::uint8_t* address, std::size_t size);
    void Unmap() noexcept;

    const std::uint8_t* address_ = nullptr;
    std::size_t size_ = 0;
    std::unique_ptr<ShrinkWatch> watch_;
};
