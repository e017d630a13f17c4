#pragma once

#include <cstdint>
#include <optional>

// What the system can really give this process now, for the decision to take
// a large buffer or refuse it: a system that promises more than it has kills
// a program later, as it writes the pages, and an address space runs out
// whatever the memory. Each platform reads its own accounting (linux/,
// windows/).

// The bytes this process can still get now, in memory and in address space;
// nothing when it cannot be told.
std::optional<std::uint64_t> MemoryRoom();

// Only what is left of the address space where it is limited (a limit set on
// the process, or a 32-bit address space); nothing where it is not.
std::optional<std::uint64_t> AddressSpaceRoom();
