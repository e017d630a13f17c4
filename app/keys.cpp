#include "app/keys.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/scene.h"

namespace {

constexpr unsigned char kEscape = 27;
constexpr int kWindowedWidth = 700;
constexpr int kWindowedHeight = 500;
constexpr unsigned kFullScreenPollMs = 10;

// Set by Down in full screen until the window has its windowed size; Up drops it.
bool windowedSizePending = false;

// Leaving full screen puts back the size the window had before it; a size
// asked for earlier would be overwritten, so wait until it has happened.
void ApplyWindowedSize(int /*unused*/) {
    if (!windowedSizePending) {
        return;
    }
    if (glutGet(GLUT_FULL_SCREEN) != 0) {
        glutTimerFunc(kFullScreenPollMs, ApplyWindowedSize, 0);
        return;
    }
    windowedSizePending = false;
    glutReshapeWindow(kWindowedWidth, kWindowedHeight);
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
            windowedSizePending = false;
            glutFullScreen();
            break;
        case GLUT_KEY_DOWN:
            if (glutGet(GLUT_FULL_SCREEN) != 0) {
                windowedSizePending = true;
                glutLeaveFullScreen();
                glutTimerFunc(0, ApplyWindowedSize, 0);
            } else {
                glutReshapeWindow(kWindowedWidth, kWindowedHeight);
            }
            break;
        default:
            break;
    }
}
