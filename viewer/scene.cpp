#include "viewer/scene.h"

#include <GL/glut.h>

#include <cstdlib>
#include <new>
#include <utility>

#include "dark_pass/mark_dark_run.h"
#include "dib/dib_error.h"
#include "dib/message_sink.h"

namespace viewer {

std::unique_ptr<ImageClass> SourceImage;
std::unique_ptr<ImageClass> ResultImage;

namespace {

constexpr const char* kPictureFile = "B.bmp";
constexpr int kImageGap = 10;

}  // namespace

void Init() {
    glClearColor((kBackground >> 16) / 255.0f, (kBackground >> 8 & 0xFF) / 255.0f, (kBackground & 0xFF) / 255.0f,
                 1.0f);
    try {
        SourceImage = std::make_unique<ImageClass>();
        if (SourceImage->Load(kPictureFile) == 0) {
            std::exit(EXIT_FAILURE);
        }
        ResultImage = std::make_unique<ImageClass>(SourceImage->SizeX(), SourceImage->SizeY());
    } catch (const std::bad_alloc&) {
        // The picture goes first: the box needs memory to show.
        SourceImage.reset();
        ShowMessage(kErrorCaption, DibErrorMessage(DibError::kOutOfMemory));
        std::exit(EXIT_FAILURE);
    }
    ResultImage->SetPos(SourceImage->SizeX() + kImageGap, 0);
}

namespace {

// Set by a change of size until the next frame has been shown.
bool resized = false;

}  // namespace

void Reshape(int width, int height) {
    resized = true;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Display() {
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    SourceImage->Draw();
    ResultImage->Draw();
    glutSwapBuffers();
    // Mesa's software renderer learns a new size of the window only as a
    // frame is shown: the first frame after a change of size may still be
    // drawn at the old one (a tiling window manager resizes the window before
    // its first frame), so it is drawn once more.
    if (std::exchange(resized, false)) {
        glutPostRedisplay();
    }
}

void MarkDarkPixels() {
    // Which pixel is visited when cannot be seen, so both pictures are walked
    // once in memory order, as one run of pixels.
    MarkDarkRun(SourceImage->Bytes(), ResultImage->Bytes());
}

}  // namespace viewer
