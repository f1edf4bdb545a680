// The graphics window on a web page: GLUT's canvas with its WebGL context, the caption as the
// page title, and the window keys taken in a loop on main's stack instead of GLUT's main loop.
// A key such as 'b' re-enters the console dialog, whose reads suspend the program until the page
// has input; a suspension from inside a browser event callback would not be resumable.
#include <emscripten.h>

#include "app/keyboard.h"
#include "app/window.h"
#include "app/window_platform.h"
#include "draw/draw_backend.h"
#include "draw/response_view.h"
#include "state/program_hooks.h"
#include "state/program_state.h"

namespace {

// The next event of the canvas, waiting for one if none is queued: a key (ESC as 27) as its code
// below 256; an arrow key as arrow_event + its arrow_key + 4 with Shift + 8 with Ctrl; a click or
// tap as click_event + 1024 x + y, in pixels of the 800 x 800 picture from its top left corner.
// Keys typed into the console never arrive here. The page sends arrows and clicks only to a
// program that takes them.
EM_ASYNC_JS(int, next_window_event, (), { return await Module.paravibWindowKey(); });

// How many events the page holds that the program has not taken yet.
EM_JS(int, events_waiting, (),
      { return Module.paravibEventsWaiting ? Module.paravibEventsWaiting() : 0; });

constexpr int arrow_event = 0x100;
constexpr int click_event = 0x100000;

// Hands the readout of the picture on show to the page, which updates its live region only when
// the words change.
void mirror_readout() {
    if (hooks.readout == nullptr) return;
    char text[192], query[256] = "";
    if (hooks.link_query != nullptr) hooks.link_query(query, sizeof query);
    EM_ASM(
        {
            if (Module.paravibReadout) Module.paravibReadout(UTF8ToString($0), UTF8ToString($1));
        },
        hooks.readout(text, sizeof text), query);
}

void take_event(int event) {
    if (event < arrow_event) {
        keyboard(static_cast<unsigned char>(event), 0, 0);
    } else if (event < click_event) {
        const int bits = event - arrow_event;
        const arrow_key keys[] = {arrow_key::left, arrow_key::right, arrow_key::up,
                                  arrow_key::down};
        if (hooks.arrow != nullptr && hooks.arrow(keys[bits & 3], (bits & 4) != 0, (bits & 8) != 0))
            display();
    } else {
        const int place = event - click_event;
        if (hooks.click != nullptr &&
            hooks.click(place >> 10, place & 1023, window_size, window_size))
            display();
    }
}

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
    mirror_readout();
    bool redisplay = false;
    for (;;) {
        take_event(next_window_event());
        // A burst of view keys is drawn once, after the last of the events already waiting.
        redisplay = backend_redisplay_asked() || redisplay;
        if (redisplay && events_waiting() == 0) {
            display();
            redisplay = false;
        }
        mirror_readout();
    }
}
