#pragma once

// Ends the program with status 0, as Esc does, when its window goes away from
// outside: closed through the window system or destroyed by another client.
// Call once the window is created and its GL context is current.
void QuitWhenWindowCloses();
