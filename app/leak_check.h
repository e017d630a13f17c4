#pragma once

// In builds with LeakSanitizer: arranges for the leak check to run at exit
// before GLUT's own clean-up. Elsewhere it does nothing. Call after glutInit.
void CheckLeaksBeforeGlutCleanup();
