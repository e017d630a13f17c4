#pragma once

#include "glut_hooks/window_properties.h"

namespace glut_hooks {

// The program ends with status 0 when its window is closed through the window
// system or destroyed by another client, before GLUT's own clean-up. Call
// once, when the window exists.
void ExitWhenClosed(const DesktopWindow& window);

}  // namespace glut_hooks
