#pragma once

// GLUT keyboard callbacks. Esc quits with status 0, "2" marks the dark
// pixels, Up goes full screen, Down returns to a 700 x 500 window; every
// other key does nothing.
namespace viewer {

void Keyboard(unsigned char key, int x, int y);
void SpecialKeys(int key, int x, int y);

}  // namespace viewer
