#include "desktop/linux/process_end.h"

#include <GL/freeglut.h>

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

namespace desktop {
namespace {

// Set once the process has begun to exit.
bool exiting = false;

// At exit, before GLUT's own clean-up, which closes the display (and Mesa
// unloads its GL driver with it): glutInit registered that earlier, and exit
// handlers run last-registered first. In this order:
void BeforeGlutCleanup() {
    // 1. GLUT's clean-up calls the close callback again: from now on that ends nothing.
    exiting = true;
    // 2. In builds with LeakSanitizer, the leak check: after the clean-up it
    //    could not name the unloaded driver's frames, and what the driver
    //    keeps to the end could not be told from our own leaks.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}

}  // namespace

void ArrangeTheEnd() {
    std::atexit(BeforeGlutCleanup);
    // Left to itself, GLUT closes the display before it exits when the window
    // is closed: exit first instead, with the status GLUT would give.
    glutCloseFunc([] {
        if (!exiting) {
            std::exit(EXIT_SUCCESS);
        }
    });
}

}  // namespace desktop
