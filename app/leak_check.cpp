#include "app/leak_check.h"

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

void CheckLeaksBeforeGlutCleanup() {
#if defined(__SANITIZE_ADDRESS__)
    // GLUT closes the display at exit and Mesa unloads its GL driver with it.
    // A leak check after that cannot name the driver's frames, so what the
    // driver keeps to the end could not be told from our own leaks. Exit
    // handlers run last-registered first: this one runs before GLUT's.
    std::atexit([] { __lsan_do_leak_check(); });
#endif
}
