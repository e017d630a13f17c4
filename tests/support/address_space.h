#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

// Limits this process's address space (as `ulimit -v` does) to what it has
// mapped now and spare bytes more, under whatever hard limit it runs with.
// For a child process: there is no way back.
inline void LimitAddressSpace(std::uint64_t spare) {
    std::ifstream status("/proc/self/status");
    std::uint64_t mappedKiB = 0;
    for (std::string key; status >> key;) {
        if (key == "VmSize:") {
            status >> mappedKiB;
            break;
        }
    }
    rlimit limit{};
    if (mappedKiB == 0 || getrlimit(RLIMIT_AS, &limit) != 0) {
        std::abort();
    }
    limit.rlim_cur = mappedKiB * 1024 + spare;  // refused above the hard limit
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        std::abort();
    }
}
