#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "dib/dib_error.h"

// A whole file mapped read-only into memory, unmapped when the object goes.
// It can be moved into place once made, never copied or assigned: exactly
// one owner unmaps. Each platform maps its own way (linux/, windows/).
//
// If the file shrinks while it is mapped (another process cuts it short, or
// a network file fails a page), reading the lost part gives zeros instead of
// killing the process, and Shrank() tells.
class MappedFile {
public:
    // Nothing for a missing or unreadable file, a directory or other
    // non-regular file, and an empty file (which cannot be mapped): an open
    // failure; and nothing where memory or address space runs short: out of
    // memory. failure, when given, then says which and why, in the system's
    // words. name is in the platform's 8-bit encoding.
    static std::optional<MappedFile> Open(const std::string& name, DibRefusal* failure = nullptr);

    // The same for a UTF-16 name.
    static std::optional<MappedFile> OpenWide(const char16_t* name, DibRefusal* failure = nullptr);

    // A UTF-16 name as an open failure's message shows it.
    static std::string ShownName(const char16_t* name);

    // What a platform's Open makes: its handles and watch, released in their order.
    struct Mapping;
    explicit MappedFile(std::unique_ptr<Mapping> mapping);

    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) = delete;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> Bytes() const;

    // True once a read has found the file shorter than when it was mapped:
    // what was read is not the file's, whatever it looked like.
    bool Shrank() const;

private:
    std::unique_ptr<Mapping> mapping_;
};
