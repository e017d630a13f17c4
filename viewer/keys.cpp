#include "viewer/keys.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdlib>
#include <utility>

#include "desktop/window_manager.h"
#include "viewer/scene.h"

namespace viewer {
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

bool CoversScreen() {
    const int x = glutGet(GLUT_WINDOW_X);
    const int y = glutGet(GLUT_WINDOW_Y);
    return x <= 0 && y <= 0 && x + glutGet(GLUT_WINDOW_WIDTH) >= glutGet(GLUT_SCREEN_WIDTH) &&
           y + glutGet(GLUT_WINDOW_HEIGHT) >= glutGet(GLUT_SCREEN_HEIGHT);
}

void EnterFullScreen() {
    glutFullScreen();
    if (desktop::WindowManagerSupports(glXGetCurrentDisplay(), "_NET_WM_STATE_FULLSCREEN")) {
        // It covers the screen, and on leaving puts the frame back where it
        // was; a move asked for meanwhile would become where it goes back to.
        return;
    }
    // Without a window manager GLUT goes full screen by moving the window
    // back by its own position, which covers the screen only from the origin;
    // and the size GLUT restores on leaving full screen may still be pending.
    // GLUT carries out this move and size after going full screen.
    glutPositionWindow(0, 0);
    glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
}

void FinishLeavingFullScreen(int /*unused*/) {
    if (glutGet(GLUT_FULL_SCREEN) != 0) {
        glutTimerFunc(kFullScreenPollMs, FinishLeavingFullScreen, 0);
        return;
    }
    const AfterFullScreen wanted = std::exchange(afterFullScreen, AfterFullScreen::kNothing);
    if (wanted == AfterFullScreen::kWindowed) {
        glutReshapeWindow(kWindowedWidth, kWindowedHeight);
    } else if (wanted == AfterFullScreen::kFullScreen) {
        EnterFullScreen();
    }
}

void LeaveFullScreenThen(AfterFullScreen wanted) {
    afterFullScreen = wanted;
    glutLeaveFullScreen();
    glutTimerFunc(0, FinishLeavingFullScreen, 0);
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
            } else if (glutGet(GLUT_FULL_SCREEN) == 0) {
                EnterFullScreen();
            } else if (!CoversScreen()) {
                // Resized or moved from outside: GLUT still counts the window
                // as full screen and ignores a request for it until it leaves.
                LeaveFullScreenThen(AfterFullScreen::kFullScreen);
            }
            break;
        case GLUT_KEY_DOWN:
            if (afterFullScreen != AfterFullScreen::kNothing) {
                afterFullScreen = AfterFullScreen::kWindowed;
            } else if (glutGet(GLUT_FULL_SCREEN) != 0) {
                LeaveFullScreenThen(AfterFullScreen::kWindowed);
            } else {
                glutReshapeWindow(kWindowedWidth, kWindowedHeight);
            }
            break;
        default:
            break;
    }
}

}  // namespace viewer
