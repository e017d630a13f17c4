#include "app/keys.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <utility>

#include "app/scene.h"

namespace {

constexpr unsigned char kEscape = 27;
constexpr int kWindowedWidth = 700;
constexpr int kWindowedHeight = 500;
constexpr unsigned kFullScreenPollMs = 10;

// What the window is to become once GLUT has left full screen. Leaving is
// carried out later, in GLUT's loop: until then GLUT still reports full
// screen, ignores another request for it, and would overwrite a new size with
// the one the window had before.
enum class AfterFullScreen { kNothing, kWindowed, kFullScreen };
AfterFullScreen afterFullScreen = AfterFullScreen::kNothing;

void FinishLeavingFullScreen(int /*unused*/) {
    if (glutGet(GLUT_FULL_SCREEN) != 0) {
        glutTimerFunc(kFullScreenPollMs, FinishLeavingFullScreen, 0);
        return;
    }
    const AfterFullScreen wanted = std::exchange(afterFullScreen, AfterFullScreen::kNothing);
    if (wanted == AfterFullScreen::kWindowed) {
        glutReshapeWindow(kWindowedWidth, kWindowedHeight);
    } else if (wanted == AfterFullScreen::kFullScreen) {
        glutFullScreen();
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
            if (afterFullScreen != AfterFullScreen::kNothing) {
                afterFullScreen = AfterFullScreen::kFullScreen;
            } else {
                glutFullScreen();
            }
            break;
        case GLUT_KEY_DOWN:
            if (afterFullScreen != AfterFullScreen::kNothing) {
                afterFullScreen = AfterFullScreen::kWindowed;
            } else if (glutGet(GLUT_FULL_SCREEN) != 0) {
                afterFullScreen = AfterFullScreen::kWindowed;
                glutLeaveFullScreen();
                glutTimerFunc(0, FinishLeavingFullScreen, 0);
            } else {
                glutReshapeWindow(kWindowedWidth, kWindowedHeight);
            }
            break;
        default:
            break;
    }
}
