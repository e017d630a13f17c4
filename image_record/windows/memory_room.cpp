#include "image_record/memory_room.h"

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

// The room under the memory limits of the job the process is in, if any.
// Windows keeps only the peak of the whole job's commit: counted as what it
// uses now, it errs towards refusing.
std::optional<std::uint64_t> JobRoom() {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    if (QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &limits, sizeof limits, nullptr) == 0) {
        return std::nullopt;  // in no job
    }
    std::optional<std::uint64_t> room;
    const auto under = [](std::uint64_t limit, std::uint64_t used) { return limit - std::min(limit, used); };
    if ((limits.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_JOB_MEMORY) != 0) {
        room = Smaller(room, under(limits.JobMemoryLimit, limits.PeakJobMemoryUsed));
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if ((limits.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_PROCESS_MEMORY) != 0 &&
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) != 0) {
        room = Smaller(room, under(limits.ProcessMemoryLimit, counters.PrivateUsage));
    }
    return room;
}

std::optional<MEMORYSTATUSEX> MemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status) == 0) {
        return std::nullopt;
    }
    return status;
}

}  // namespace

std::optional<std::uint64_t> MemoryRoom() {
    const std::optional<MEMORYSTATUSEX> status = MemoryStatus();
    std::optional<std::uint64_t> room = JobRoom();
    if (status) {
        room = Smaller(room, std::min<std::uint64_t>(status->ullAvailPageFile, status->ullAvailVirtual));
    }
    return room;
}

std::optional<std::uint64_t> AddressSpaceRoom() {
    // A 64-bit process has terabytes of it: only a 32-bit one runs out.
    const std::optional<MEMORYSTATUSEX> status = MemoryStatus();
    if (!status || sizeof(void*) > 4) {
        return std::nullopt;
    }
    return status->ullAvailVirtual;
}
