#pragma once

namespace glut_hooks {

// glutInit(argc, argv), on a connection made ready as GLUT opens it: every
// atom GLUT and the desktop code ask for interned in one round trip, and a
// dead window manager's check window, which GLUT would ask whether it is
// there and take the error as fatal, forgotten.
void InitGlut(int* argc, char** argv);

}  // namespace glut_hooks
