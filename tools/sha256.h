#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The SHA-256 of size bytes as 64 lowercase hexadecimal digits, computed by
// the platform's own cryptography (linux/, windows/); "sha256-failed" where
// it cannot be.
std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size);
