#pragma once

#include "glut_hooks/window_properties.h"

// GLUT keyboard callbacks. Esc quits with status 0, "2" marks the dark
// pixels, Up goes full screen, Down returns to a 700 x 500 window; every
// other key does nothing.
namespace viewer {

// The window Up and Down take to full screen and back; where GLUT told of
// none, they are left to GLUT.
void SetKeysWindow(const glut_hooks::DesktopWindow& window);

// The window is now width x height: after Down, its frame is kept on screen
// once the window has the size asked for. Called from GLUT's reshape.
void WindowResized(int width, int height);

void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);

}  // namespace viewer
