#pragma once

namespace desktop {

// How the process ends once GLUT has its window: with status 0 when the
// window is closed, and, however it ends, through what must come before
// GLUT's own clean-up at exit (process_end.cpp lists it in order). Call
// once, after glutInit.
void ArrangeTheEnd();

}  // namespace desktop
