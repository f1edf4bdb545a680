// The GLUT keyboard callback: the key table on the program state, then one frame drawn directly
// (no redisplay is posted, so each such key advances the motion by exactly one frame).
#include "app/keyboard.h"

#include "control/key_commands.h"
#include "draw/response_view.h"

void keyboard(unsigned char key, int, int) {
    if (apply_key(key)) display();
}
