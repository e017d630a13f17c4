#include <GL/glut.h>

#include <new>
#include <string_view>

#include "desktop/viewer_desktop.h"
#include "dib/message_sink.h"
#include "viewer/keys.h"
#include "viewer/scene.h"

namespace {

constexpr int kWindowWidth = 650;
constexpr int kWindowHeight = 500;

}  // namespace

int main(int argc, char** argv) {
    desktop::PrepareProcess();
    desktop::InitGlut(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    // Until the process ends: GLUT's loop never returns.
    static desktop::ViewerWindow window("Image Border", viewer::kBackground);
    viewer::SetKeysWindow(window);

    // A load failure is told twice: one line on standard error for logs and
    // scripts, and a box the user has to dismiss before the program ends.
    SetMessageSink([](std::string_view caption, std::string_view text) {
        WriteMessageLine(caption, text);
        try {
            window.ShowError(caption, text);
        } catch (const std::bad_alloc&) {
            // Memory too short even for the box: the line has been written.
        }
    });
    viewer::Init();

    glutDisplayFunc(viewer::Display);
    glutReshapeFunc([](int width, int height) {
        viewer::Reshape(width, height);
        window.Resized(width, height);
    });
    glutKeyboardFunc(viewer::Keyboard);
    glutSpecialFunc(viewer::SpecialKeys);
    glutMainLoop();
    return 0;
}
