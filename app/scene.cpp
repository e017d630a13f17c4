// No GLX or Xlib headers here: they define a type named Display.
#include "app/scene.h"

#include <GL/glut.h>

#include <cstdlib>
#include <new>

#include "app/mark_dark_pixels.h"
#include "dib/dib_error.h"
#include "dib/message_sink.h"

std::unique_ptr<ImageClass> SourceImage;
std::unique_ptr<ImageClass> ResultImage;

namespace {

constexpr const char* kPictureFile = "B.bmp";
constexpr int kImageGap = 10;

}  // namespace

void Init() {
    SourceImage = std::make_unique<ImageClass>();
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    if (SourceImage->Load(kPictureFile) == 0) {
        std::exit(EXIT_FAILURE);
    }
    try {
        ResultImage = std::make_unique<ImageClass>(SourceImage->SizeX(), SourceImage->SizeY());
    } catch (const std::bad_alloc&) {
        ShowMessage(kErrorCaption, DibErrorMessage(DibError::kOutOfMemory));
        std::exit(EXIT_FAILURE);
    }
    ResultImage->SetPos(SourceImage->SizeX() + kImageGap, 0);
}

void Reshape(int width, int height) {
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
}

void MarkDarkPixels() {
    MarkDarkPixels(*SourceImage, *ResultImage);
}
