#include "viewer/leak_check.h"

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

// Memory that Mesa's GLX library and its GL driver allocate for the window and
// the context and keep until the process ends. Only allocations made by Mesa's
// own code match; ours (built with frame pointers) are never made from there.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libGLX_mesa.so\nleak:swrast_dri.so\n";
}
#endif

namespace viewer {

void CheckLeaksBeforeGlutCleanup() {
    // GLUT closes the display at exit and Mesa unloads its GL driver with it.
    // A leak check after that cannot name the driver's frames, so what the
    // driver keeps to the end could not be told from our own leaks. Exit
    // handlers run last-registered first: this one runs before GLUT's.
#if defined(__SANITIZE_ADDRESS__)
    std::atexit([] { __lsan_do_leak_check(); });
#endif
}

}  // namespace viewer
