#include "image_record/memory_room.h"
#include "image_record/windows/job_limits.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

// Windows gives no more than it can back: an allocation that does not fit
// fails there and then. What is checked first is what it would fail on: the
// memory the process can still commit (physical memory and page file), the
// free address space (binding for a 32-bit process), and the limits of a job
// object the process runs in.

namespace {

std::optional<std::uint64_t> Smaller(std::optional<std::uint64_t> a, std::optional<std::uint64_t> b) {
    if (!a || (b && *b < *a)) {
        return b;
    }
    return a;
}

// The room under the limits of the job the process is in; nothing where it
// is in none, or the job limits no memory.
std::optional<std::uint64_t> JobRoom() {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &limits, sizeof limits, nullptr) == 0 ||
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) == 0) {
        return std::nullopt;
    }
    return RoomUnderJobLimits(limits, counters.PrivateUsage);
}

// The largest stretch of free addresses: one buffer cannot be larger,
// however much is free in all. A 32-bit address space is cut up by the
// program and its libraries long before it is full.
std::uint64_t LargestFreeBlock() {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    std::uint64_t largest = 0;
    const auto* address = static_cast<const char*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION region{};
    while (address < system.lpMaximumApplicationAddress && VirtualQuery(address, &region, sizeof region) != 0) {
        if (region.State == MEM_FREE) {
            largest = std::max<std::uint64_t>(largest, region.RegionSize);
        }
        address = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return largest;
}

}  // namespace

std::optional<std::uint64_t> AddressSpaceRoom() {
    // A 64-bit process has terabytes of it: only a 32-bit one runs out.
    if (sizeof(void*) > 4) {
        return std::nullopt;
    }
    return LargestFreeBlock();
}

std::optional<std::uint64_t> MemoryRoom() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    std::optional<std::uint64_t> room = Smaller(JobRoom(), AddressSpaceRoom());
    // What the process can still commit, the page file included; Wine gives
    // the same figure without one.
    if (GlobalMemoryStatusEx(&status) != 0) {
        room = Smaller(room, status.ullAvailPageFile);
    }
    return room;
}

std::optional<std::uint64_t> RoomUnderJobLimits(const JOBOBJECT_EXTENDED_LIMIT_INFORMATION& limits,
                                                std::uint64_t committed) {
    const DWORD flags = limits.BasicLimitInformation.LimitFlags;
    const auto under = [](std::uint64_t limit, std::uint64_t used) { return limit - std::min(limit, used); };
    std::optional<std::uint64_t> room;
    if ((flags & JOB_OBJECT_LIMIT_JOB_MEMORY) != 0) {
        room = under(limits.JobMemoryLimit, limits.PeakJobMemoryUsed);
    }
    if ((flags & JOB_OBJECT_LIMIT_PROCESS_MEMORY) != 0) {
        room = Smaller(room, under(limits.ProcessMemoryLimit, committed));
    }
    return room;
}
