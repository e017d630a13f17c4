#include "glut_hooks/glut_init.h"

#include <GL/glut.h>
#include <X11/Xlib.h>

#include <memory>
#include <string_view>

#include "desktop/window_manager.h"

namespace glut_hooks {
namespace {

// The display GLUT connects to: its own option's, else $DISPLAY's.
const char* GlutDisplayName(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-display") {
            return argv[i + 1];
        }
    }
    return nullptr;
}

}  // namespace

void InitGlut(int* argc, char** argv) {
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(GlutDisplayName(*argc, argv)),
                                                                      XCloseDisplay);
    if (display) {
        desktop::ForgetDeadWindowManager(display.get());
    }
    glutInit(argc, argv);
}

}  // namespace glut_hooks
