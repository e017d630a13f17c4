#pragma once

#include "desktop/viewer_desktop.h"

// GLUT keyboard callbacks. Esc quits with status 0, "2" marks the dark
// pixels, Up goes full screen, Down returns to a 700 x 500 window; every
// other key does nothing.
namespace viewer {

// The window Up and Down take to full screen and back.
void SetKeysWindow(desktop::ViewerWindow& window);

void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);

}  // namespace viewer
