// Window set-up through GLUT and the reshape callback. The Japanese caption is set again after
// GLUT's own, by the window_caption source of the platform.
#include "app/window.h"

#include <GL/glut.h>

#include "app/gl_driver.h"
#include "app/keyboard.h"
#include "app/window_caption.h"
#include "draw/response_view.h"
#include "state/program_hooks.h"
#include "state/program_state.h"

namespace {

// RGB colour, two buffers to draw one picture while the other shows, and a depth buffer.
constexpr unsigned int window_display_mode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;
static_assert(window_display_mode == 18, "GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH");

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

void create_window(int* argc, char** argv) {
    glutInitWindowSize(window_size, window_size);
    glutInit(argc, argv);
    glutInitDisplayMode(window_display_mode);
    glutCreateWindow(program_text().window_title);
    keep_gl_driver_loaded();
    set_utf8_caption(program_text().window_title);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    if (hooks.click != nullptr) glutMouseFunc(mouse);
    if (hooks.arrow != nullptr) glutSpecialFunc(special);
    set_clear_colour();
}

void open_window(int* argc, char** argv) {
    create_window(argc, argv);
    glutMainLoop();
}

void set_clear_colour() { glClearColor(1.0f, 1.0f, 1.0f, 1.0f); }

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
