// Window set-up through GLUT and the reshape callback, the same on the desktop and on the page.
// The platform's window file (window_glut.cpp, window_web.cpp) names the window, takes its input
// and runs the main loop.
#include "app/window.h"

#include <GL/glut.h>

#include "app/window_platform.h"
#include "draw/draw_backend.h"
#include "draw/response_view.h"
#include "state/program_state.h"
#include "state/program_texts.h"

namespace {

// RGB colour, two buffers to draw one picture while the other shows, and a depth buffer.
constexpr unsigned int window_display_mode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;
static_assert(window_display_mode == 18, "GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH");

}  // namespace

void create_window(int* argc, char** argv) {
    glutInitWindowSize(window_size, window_size);
    glutInit(argc, argv);
    glutInitDisplayMode(window_display_mode);
    glutCreateWindow(program_text().window_title);
    name_window(program_text().window_title);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    take_window_input();
    set_clear_colour();
}

void set_clear_colour() { backend_clear_colour(1.0f, 1.0f, 1.0f, 1.0f); }

void reshape(int width, int height) {
    backend_viewport(0, 0, width, height);
    backend_reset_projection();
}
