// However the process was started, the files and connections it opens get
// descriptors of their own, and output nobody reads does not kill it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "desktop/viewer_desktop.h"

namespace {

// Started with standard input and error closed, as some launchers leave a
// program: the next file opened must not take descriptor 0 or 2, and a write
// to a pipe with no reader fails instead of killing the process.
TEST(ProcessStartDeathTest, ClosedStreamsAreNullAndBrokenPipesFailQuietly) {
    EXPECT_EXIT(
        {
            signal(SIGPIPE, SIG_DFL);
            close(STDIN_FILENO);
            close(STDERR_FILENO);
            desktop::PrepareProcess();
            const int file = open("/proc/self/status", O_RDONLY);
            int ends[2];
            const bool piped = pipe(ends) == 0 && close(ends[0]) == 0;
            const bool failed = piped && write(ends[1], "x", 1) < 0 && errno == EPIPE;
            const bool null = std::filesystem::read_symlink("/proc/self/fd/0") == "/dev/null" &&
                              std::filesystem::read_symlink("/proc/self/fd/2") == "/dev/null";
            std::exit(file > STDERR_FILENO && null && failed ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
