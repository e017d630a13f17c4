#include "desktop/viewer_desktop.h"

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace desktop {

// Standard streams closed by whoever started the process are opened on
// /dev/null, so that no file or connection opened later takes their numbers
// (the X connection would be written to as standard error). Output that
// cannot be written (a pipe nobody reads) fails the write instead of killing
// the process. Under an address-space limit, threads share one heap: each
// would otherwise reserve an arena of 64 MiB of it (the GL's renderer runs a
// thread for each processor), and what the limit leaves would depend on how
// many threads came first.
void PrepareProcess() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free number is this one: those below it are open.
            open("/dev/null", O_RDWR);
        }
    }
    signal(SIGPIPE, SIG_IGN);
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        mallopt(M_ARENA_MAX, 1);
    }
}

}  // namespace desktop
