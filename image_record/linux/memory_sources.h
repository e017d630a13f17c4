#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Linux promises memory it may not have: a large allocation succeeds, and the
// process is killed later, when its pages are written. What the kernel can
// really give is read from its own accounting instead.

// Where that accounting is read; tests hand in files of their own.
struct MemorySources {
    std::string meminfo = "/proc/meminfo";
    std::string cgroups = "/proc/self/cgroup";
    std::string mounts = "/proc/self/mountinfo";
    std::string status = "/proc/self/status";
};

// The memory cgroup this process is in: its folder in this file system, the
// folder its hierarchy is mounted at, and whether that is cgroup version 1.
struct MemoryCgroup {
    std::filesystem::path folder;
    std::filesystem::path mountPoint;
    bool version1 = false;
};

// Found from the process's cgroups and the mount table, never at a fixed
// path: a container or a desktop session may mount them anywhere. A version
// 1 hierarchy with the memory controller wins: a controller is bound to one
// hierarchy only, and a version 2 one may sit beside it without it.
std::optional<MemoryCgroup> FindMemoryCgroup(const MemorySources& sources = {});

// The smaller of what the system can give (MemAvailable plus SwapFree) and,
// at each level of the process's memory cgroup up to the root of its
// hierarchy (v2 or v1, found through the mount table), the room left under
// that level's limit. File pages the cgroup holds count as room, since the
// kernel reclaims them before it kills. Under an address-space limit
// (RLIMIT_AS, as `ulimit -v` sets), also what is left of it: the limit less
// what the process has mapped (VmSize). Nothing when none of it can be read.
std::optional<std::uint64_t> MemoryRoom(const MemorySources& sources);

// Only the address space left under RLIMIT_AS; nothing without a limit.
std::optional<std::uint64_t> AddressSpaceRoom(const MemorySources& sources);
