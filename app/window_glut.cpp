// The window on the desktop: the UTF-8 caption set again after GLUT's own (window_caption of the
// platform), the keyboard, mouse and arrow callbacks, and GLUT's main loop.
#include <GL/glut.h>

#include "app/gl_driver.h"
#include "app/keyboard.h"
#include "app/window.h"
#include "app/window_caption.h"
#include "app/window_platform.h"
#include "draw/response_view.h"
#include "state/program_hooks.h"

namespace {

// A left button press goes to the seam's click hook with the window's present size.
void mouse(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON || state != GLUT_DOWN) return;
    if (hooks.click(x, y, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT))) display();
}

// An arrow key goes to the seam's arrow hook with the modifiers held.
void special(int key, int, int) {
    arrow_key arrow;
    switch (key) {
        case GLUT_KEY_LEFT: arrow = arrow_key::left; break;
        case GLUT_KEY_RIGHT: arrow = arrow_key::right; break;
        case GLUT_KEY_UP: arrow = arrow_key::up; break;
        case GLUT_KEY_DOWN: arrow = arrow_key::down; break;
        default: return;
    }
    const int modifiers = glutGetModifiers();
    if (hooks.arrow(arrow, (modifiers & GLUT_ACTIVE_SHIFT) != 0,
                    (modifiers & GLUT_ACTIVE_CTRL) != 0))
        display();
}

}  // namespace

void name_window(const char* title) {
    keep_gl_driver_loaded();
    set_utf8_caption(title);
}

void take_window_input() {
    glutKeyboardFunc(keyboard);
    if (hooks.click != nullptr) glutMouseFunc(mouse);
    if (hooks.arrow != nullptr) glutSpecialFunc(special);
}

void open_window(int* argc, char** argv) {
    create_window(argc, argv);
    glutMainLoop();
}
