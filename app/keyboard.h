// The GLUT keyboard callback of the graphics window.
#pragma once

// Offers key to the seam's key hook first; when the hook does not take it, acts on key as
// apply_key does (app/key_commands.h) and, for every key that neither ends the
// program nor re-enters the console dialog, draws the next frame at once by calling display.
// x and y (the pointer position) are not used.
void keyboard(unsigned char key, int x, int y);
