#pragma once

namespace glut_hooks {

// glutInit(argc, argv), which would end the program at once where a window
// manager that died still has its check window named on the root: GLUT asks
// that window whether it is there, and takes the error as fatal.
void InitGlut(int* argc, char** argv);

}  // namespace glut_hooks
