#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// The room left under the memory limits of a job object: the job's commit
// limit less what the job has used (Windows keeps only its peak, so this
// errs towards refusing), and the process's limit less what it has
// committed. Nothing where the job sets no memory limit.
std::optional<std::uint64_t> RoomUnderJobLimits(const JOBOBJECT_EXTENDED_LIMIT_INFORMATION& limits,
                                                std::uint64_t committed);
