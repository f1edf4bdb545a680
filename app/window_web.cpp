// The graphics window on a web page: GLUT's canvas with its WebGL context, the caption as the
// page title, and the window keys taken in a loop on main's stack instead of GLUT's main loop.
// A key such as 'b' re-enters the console dialog, whose reads suspend the program until the page
// has input; a suspension from inside a browser event callback would not be resumable.
#include <GL/glut.h>
#include <emscripten.h>

#include "app/keyboard.h"
#include "app/window.h"
#include "draw/response_view.h"
#include "state/program_state.h"

namespace {

// RGB colour, two buffers to draw one picture while the other shows, and a depth buffer.
constexpr unsigned int window_display_mode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;

// The next key pressed on the canvas (ESC as 27), waiting for one if none is queued. Keys typed
// into the console never arrive here.
EM_ASYNC_JS(int, next_window_key, (), { return await Module.paravibWindowKey(); });

}  // namespace

void create_window(int* argc, char** argv) {
    glutInitWindowSize(window_size, window_size);
    glutInit(argc, argv);
    glutInitDisplayMode(window_display_mode);
    glutCreateWindow(window_title);
    EM_ASM({ document.title = UTF8ToString($0); }, window_title);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    set_clear_colour();
}

// The page never asks for a repaint (the canvas keeps its picture), so the first picture is drawn
// here and every later one by the keys, as keyboard() decides.
void open_window(int* argc, char** argv) {
    create_window(argc, argv);
    reshape(window_size, window_size);
    display();
    for (;;) keyboard(static_cast<unsigned char>(next_window_key()), 0, 0);
}

void set_clear_colour() { glClearColor(1.0f, 1.0f, 1.0f, 1.0f); }

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}
