#include <GL/glut.h>

#include <new>
#include <string_view>

#include "desktop/error_box.h"
#include "desktop/process_start.h"
#include "dib/message_sink.h"
#include "glut_hooks/glut_init.h"
#include "glut_hooks/window_close.h"
#include "glut_hooks/window_properties.h"
#include "viewer/keys.h"
#include "viewer/leak_check.h"
#include "viewer/scene.h"

namespace {

constexpr int kWindowWidth = 650;
constexpr int kWindowHeight = 500;

}  // namespace

int main(int argc, char** argv) {
    desktop::PrepareProcess();
    glut_hooks::InitGlut(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    const glut_hooks::DesktopWindow window = glut_hooks::CreateDesktopWindow("Image Border", viewer::kBackground);
    viewer::CheckLeaksBeforeGlutCleanup();
    glut_hooks::ExitWhenClosed(window);
    viewer::SetKeysWindow(window);

    // A load failure is told twice: one line on standard error for logs and
    // scripts, and a box the user has to dismiss before the program ends.
    SetMessageSink([window](std::string_view caption, std::string_view text) {
        WriteMessageLine(caption, text);
        if (window.display == nullptr) {
            return;
        }
        try {
            desktop::ShowErrorBox(window.display, window.window, caption, text);
        } catch (const std::bad_alloc&) {
            // Memory too short even for the box: the line has been written.
        }
    });
    viewer::Init();

    glutDisplayFunc(viewer::Display);
    glutReshapeFunc([](int width, int height) {
        viewer::Reshape(width, height);
        viewer::WindowResized(width, height);
    });
    glutKeyboardFunc(viewer::Keyboard);
    glutSpecialFunc(viewer::SpecialKeys);
    glutMainLoop();
    return 0;
}
