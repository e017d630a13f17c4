#include "viewer/keys.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <optional>

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
// and back the desktop's way instead, where GLUT told which window is its.
std::optional<desktop::FullScreen> mainWindow;

// Up and Down so far: the frame is kept on screen for the last Down, until a later key.
int sizeKeys = 0;
int pollsLeft = 0;

void KeepFrameOnScreen(int down) {
    if (down == sizeKeys && !mainWindow->KeepFrameOnScreen(kWindowedWidth, kWindowedHeight) && --pollsLeft > 0) {
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

void SetKeysWindow(const glut_hooks::DesktopWindow& window) {
    if (window.display != nullptr) {
        mainWindow.emplace(window.display, window.window);
    }
}

void SpecialKeys(int key, int /*x*/, int /*y*/) {
    if (!mainWindow) {
        if (key == GLUT_KEY_UP) {
            glutFullScreen();
        } else if (key == GLUT_KEY_DOWN) {
            glutReshapeWindow(kWindowedWidth, kWindowedHeight);
        }
        return;
    }
    switch (key) {
        case GLUT_KEY_UP:
            ++sizeKeys;
            mainWindow->Enter();
            break;
        case GLUT_KEY_DOWN:
            mainWindow->Leave(kWindowedWidth, kWindowedHeight);
            pollsLeft = kFramePolls;
            glutTimerFunc(0, KeepFrameOnScreen, ++sizeKeys);
            break;
        default:
            break;
    }
}

}  // namespace viewer
