#pragma once

#include "desktop/linux/window_properties.h"

namespace desktop {

// GLUT ignores the notice that its window was destroyed, and would idle on
// without one: from now on the notice that window was destroyed by another
// client reaches GLUT as the window system's request to close it, which GLUT
// acts on. One way to end, whoever closed it. Call once, as the window is made.
void CloseWhenDestroyed(const DesktopWindow& window);

}  // namespace desktop
