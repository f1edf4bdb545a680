// Window set-up through GLUT, the frame brackets, and the UTF-8 caption, which freeglut stores
// only as a Latin-1 WM_NAME: a window manager would show its bytes garbled.
#include "app/window.h"

#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

#include "app/gl_driver.h"
#include "app/keyboard.h"
#include "draw/response_view.h"
#include "state/program_state.h"

namespace {

// RGB colour, two buffers to draw one picture while the other shows, and a depth buffer.
constexpr unsigned int window_display_mode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;
static_assert(window_display_mode == 18, "GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH");

// Sets the caption as UTF8_STRING in _NET_WM_NAME (what window managers read first) and as a
// UTF-8 WM_NAME for older ones, on the window whose context is current.
void set_utf8_caption(const char* title) {
    Display* display = glXGetCurrentDisplay();
    const Window window = static_cast<Window>(glXGetCurrentDrawable());
    if (display == nullptr || window == 0) return;

    const Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8_string = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, net_wm_name, utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));

    char* list[] = {const_cast<char*>(title)};
    XTextProperty property;
    if (Xutf8TextListToTextProperty(display, list, 1, XUTF8StringStyle, &property) == Success) {
        XSetWMName(display, window, &property);
        XFree(property.value);
    }
    XFlush(display);
}

}  // namespace

void create_window(int* argc, char** argv) {
    glutInitWindowSize(window_size, window_size);
    glutInit(argc, argv);
    glutInitDisplayMode(window_display_mode);
    glutCreateWindow(window_title);
    keep_gl_driver_loaded();
    set_utf8_caption(window_title);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
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
