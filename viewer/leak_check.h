#pragma once

namespace viewer {

// In builds with LeakSanitizer the leak check runs at exit before GLUT's own
// clean-up, however the program ends. Call once the window exists.
void CheckLeaksBeforeGlutCleanup();

}  // namespace viewer
