// The GLUT keyboard callback: the seam's key hook, then the key table on the program state, then
// one frame drawn directly (no redisplay is posted, so each such key advances the motion by
// exactly one frame).
#include "app/keyboard.h"

#include "control/key_commands.h"
#include "draw/response_view.h"
#include "state/program_hooks.h"

void keyboard(unsigned char key, int, int) {
    if (hooks.key != nullptr && hooks.key(key)) return;
    if (apply_key(key)) display();
}
