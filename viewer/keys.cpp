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

// GLUT's idea of full screen was fixed when it started, and the window
// manager may since have come, gone or changed: the window goes full screen
// and back the desktop's way instead, where GLUT told which window is its.
std::optional<desktop::FullScreen> mainWindow;

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

void WindowResized(int width, int height) {
    if (mainWindow) {
        mainWindow->Resized(width, height);
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
            mainWindow->Enter();
            break;
        case GLUT_KEY_DOWN:
            mainWindow->Leave(kWindowedWidth, kWindowedHeight);
            break;
        default:
            break;
    }
}

}  // namespace viewer
