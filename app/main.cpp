#include <GL/glut.h>

#include <string_view>

#include "app/error_box.h"
#include "app/keys.h"
#include "app/leak_check.h"
#include "app/scene.h"
#include "app/window_close.h"
#include "dib/message_sink.h"

namespace {

constexpr int kWindowWidth = 650;
constexpr int kWindowHeight = 500;

// A load failure is told twice: one line on standard error for logs and
// scripts, and a box the user has to dismiss before the program ends.
void ReportToUser(std::string_view caption, std::string_view text) {
    WriteMessageLine(caption, text);
    ShowErrorBox(caption, text);
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    CheckLeaksBeforeGlutCleanup();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    glutCreateWindow("Image Border");
    QuitWhenWindowCloses();

    SetMessageSink(ReportToUser);
    Init();

    glutDisplayFunc(Display);
    glutReshapeFunc(Reshape);
    glutKeyboardFunc(Keyboard);
    glutSpecialFunc(SpecialKeys);
    glutMainLoop();
    return 0;
}
