/* The floor the viewer's X traffic is held to: a bare freeglut program with
   the viewer's window, drawing "B.bmp" (a 24-bit file with both headers, as
   the tests write) and nothing else; Up is glutFullScreen, Down
   glutLeaveFullScreen and a 700 x 500 window, Esc exits with 0. */
#include <GL/glut.h>
#include <GL/freeglut_ext.h>
#include <stdio.h>
#include <stdlib.h>

static int width, height;
static unsigned char file[1 << 24];

static unsigned Field(int at) {
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | (unsigned)file[at + 3] << 24;
}

static void Display(void) {
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2i(0, 0);
    /* Rows padded to 4 bytes, blue green red: as the file stores them. */
    glDrawPixels(width, height, GL_BGR, GL_UNSIGNED_BYTE, file + Field(10));
    glutSwapBuffers();
}

static void Reshape(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
}

static void Keyboard(unsigned char key, int x, int y) {
    (void)x, (void)y;
    if (key == 27) {
        exit(0);
    }
}

static void SpecialKeys(int key, int x, int y) {
    (void)x, (void)y;
    if (key == GLUT_KEY_UP) {
        glutFullScreen();
    } else if (key == GLUT_KEY_DOWN) {
        glutLeaveFullScreen();
        glutReshapeWindow(700, 500);
    }
}

int main(int argc, char** argv) {
    FILE* bmp = fopen("B.bmp", "rb");
    const size_t size = bmp != NULL ? fread(file, 1, sizeof file, bmp) : 0;
    width = (int)Field(18);
    height = (int)Field(22);
    if (size < 54 || Field(10) + (width * 3 + 3) / 4 * 4 * (size_t)height > size) {
        fputs("bare_glut: no 24-bit B.bmp\n", stderr);
        return 1;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(650, 500);
    glutCreateWindow("Image Border");
    glClearColor(0, 0, 1, 1);
    glutDisplayFunc(Display);
    glutReshapeFunc(Reshape);
    glutKeyboardFunc(Keyboard);
    glutSpecialFunc(SpecialKeys);
    glutMainLoop();
    return 0;
}
