#include "viewer/keys.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "viewer/scene.h"

namespace viewer {
namespace {

constexpr unsigned char kEscape = 27;
constexpr int kWindowedWidth = 700;
constexpr int kWindowedHeight = 500;

desktop::ViewerWindow* mainWindow = nullptr;

}  // namespace

void SetKeysWindow(desktop::ViewerWindow& window) {
    mainWindow = &window;
}

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
            mainWindow->EnterFullScreen();
            break;
        case GLUT_KEY_DOWN:
            mainWindow->LeaveFullScreen(kWindowedWidth, kWindowedHeight);
            break;
        default:
            break;
    }
}

}  // namespace viewer
