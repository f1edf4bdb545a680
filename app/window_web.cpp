// The graphics window on a web page: GLUT's canvas with its WebGL context, the caption as the
// page title, and the window keys taken in a loop on main's stack instead of GLUT's main loop.
// A key such as 'b' re-enters the console dialog, whose reads suspend the program until the page
// has input; a suspension from inside a browser event callback would not be resumable.
#include <emscripten.h>

#include "app/keyboard.h"
#include "app/window.h"
#include "app/window_platform.h"
#include "draw/response_view.h"

namespace {

// The next key pressed on the canvas (ESC as 27), waiting for one if none is queued. Keys typed
// into the console never arrive here.
EM_ASYNC_JS(int, next_window_key, (), { return await Module.paravibWindowKey(); });

}  // namespace

void name_window(const char* title) {
    EM_ASM({ document.title = UTF8ToString($0); }, title);
}

// GLUT listens to the whole page, so keys typed into the console would reach a GLUT keyboard
// callback too; the keys come from the canvas through the loop of open_window instead.
void take_window_input() {}

// The page never asks for a repaint (the canvas keeps its picture), so the first picture is drawn
// here and every later one by the keys, as keyboard() decides.
void open_window(int* argc, char** argv) {
    create_window(argc, argv);
    reshape(window_size, window_size);
    display();
    for (;;) keyboard(static_cast<unsigned char>(next_window_key()), 0, 0);
}
