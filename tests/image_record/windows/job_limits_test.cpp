// The room a job object's memory limits leave. Wine stores no job limits, so
// the figures are handed in as the system would give them.
#include <gtest/gtest.h>

#include "image_record/windows/job_limits.h"

namespace {

TEST(JobLimits, LeaveTheRoomOfTheTighterLimit) {
    constexpr std::uint64_t kMiB = 1 << 20;
    const struct {
        DWORD flags;
        std::uint64_t jobLimit, jobPeak, processLimit, committed;
        std::optional<std::uint64_t> room;
    } cases[] = {
        {0, 100 * kMiB, 30 * kMiB, 50 * kMiB, 20 * kMiB, std::nullopt},
        {JOB_OBJECT_LIMIT_JOB_MEMORY, 100 * kMiB, 30 * kMiB, 0, 20 * kMiB, 70 * kMiB},
        {JOB_OBJECT_LIMIT_PROCESS_MEMORY, 0, 30 * kMiB, 50 * kMiB, 20 * kMiB, 30 * kMiB},
        {JOB_OBJECT_LIMIT_JOB_MEMORY | JOB_OBJECT_LIMIT_PROCESS_MEMORY, 100 * kMiB, 80 * kMiB, 50 * kMiB, 20 * kMiB,
         20 * kMiB},
        // Used beyond the limit: no room, not a number wrapped around.
        {JOB_OBJECT_LIMIT_PROCESS_MEMORY, 0, 0, 50 * kMiB, 60 * kMiB, 0},
    };
    for (const auto& c : cases) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = c.flags;
        limits.JobMemoryLimit = c.jobLimit;
        limits.PeakJobMemoryUsed = c.jobPeak;
        limits.ProcessMemoryLimit = c.processLimit;
        EXPECT_EQ(RoomUnderJobLimits(limits, c.committed), c.room) << "flags " << c.flags;
    }
}

}  // namespace
