#pragma once

#include "desktop/linux/window_properties.h"

namespace desktop {

// The program ends with status 0 when its window is closed through the window
// system or destroyed by another client, before GLUT's own clean-up. Call
// once, when the window exists.
void ExitWhenClosed(const DesktopWindow& window);

}  // namespace desktop
