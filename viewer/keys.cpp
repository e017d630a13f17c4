#include "viewer/keys.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdlib>

#include "desktop/full_screen.h"
#include "viewer/scene.h"

namespace viewer {
namespace {

constexpr unsigned char kEscape = 27;
constexpr int kWindowedWidth = 700;
constexpr int kWindowedHeight = 500;
constexpr unsigned kFramePollMs = 10;
constexpr int kFramePolls = 200;  // a window manager that has not answered in 2 s will not

// GLUT's idea of full screen was fixed when it started, and the window
// manager may since have come, gone or changed: the window goes full screen
// and back the desktop's way instead. Keys come while GLUT's window is
// current.
desktop::FullScreen& MainWindow() {
    static desktop::FullScreen mainWindow(glXGetCurrentDisplay(), glXGetCurrentDrawable());
    return mainWindow;
}

// Up and Down so far: the frame is kept on screen for the last Down, until a later key.
int sizeKeys = 0;
int pollsLeft = 0;

void KeepFrameOnScreen(int down) {
    if (down == sizeKeys && !MainWindow().KeepFrameOnScreen(kWindowedWidth, kWindowedHeight) && --pollsLeft > 0) {
        glutTimerFunc(kFramePollMs, KeepFrameOnScreen, down);
    }
}

}  // namespace

void Keyboard(unsigned char key, int /*x*/, int /*y*/) {
    switch (key) {
        case kEscape:
            std::exit(EXIT_SUCCESS);
        case '2':
            MarkDarkPixels();
            glutPostRedisplay();
            break;
        default:
            break;
    }
}

void SpecialKeys(int key, int /*x*/, int /*y*/) {
    switch (key) {
        case GLUT_KEY_UP:
            ++sizeKeys;
            MainWindow().Enter();
            break;
        case GLUT_KEY_DOWN:
            MainWindow().Leave(kWindowedWidth, kWindowedHeight);
            pollsLeft = kFramePolls;
            glutTimerFunc(0, KeepFrameOnScreen, ++sizeKeys);
            break;
        default:
            break;
    }
}

}  // namespace viewer
