// The key table of the graphics window on the program state; the drawing is left to the caller.
// Keys: s (next frame), t T (time axis), y Y (response height), z Z (chart), a (chart shown),
// k b d j (console dialog from step 1 ... 4), ESC (end).
#include "control/key_commands.h"

#include <cstdlib>

#include "control/parameter_dialog.h"
#include "state/program_state.h"

namespace {

constexpr unsigned char escape_key = 27;

// The dialog starts a new motion, so the time is zeroed before it, also for a pass that the end
// of console input cuts short.
bool reenter_dialog() {
    t_now = 0.0;
    parameter_dialog();
    return false;
}

}  // namespace

bool apply_key(unsigned char key) {
    command_key = static_cast<char>(key);
    switch (key) {
        case 't': time_scale = time_scale * zoom_factor; return true;  // shorter time axis
        case 'T': time_scale = time_scale / zoom_factor; return true;  // longer time axis
        case 'y': y_scale = y_scale * zoom_factor; return true;        // lower curves
        case 'Y': y_scale = y_scale / zoom_factor; return true;        // taller curves
        case 'z':                                                      // smaller chart
            chart_scale_delta = chart_scale_delta * zoom_factor;
            chart_scale_epsilon = chart_scale_epsilon * zoom_factor;
            return true;
        case 'Z':  // larger chart
            chart_scale_delta = chart_scale_delta / zoom_factor;
            chart_scale_epsilon = chart_scale_epsilon / zoom_factor;
            return true;
        case 'k':  // new equation, and everything after it
        case 'b':  // new damping and boundaries, and everything after them
        case 'd':  // new point (delta, epsilon) and initial values
        case 'j':  // new initial values
            return reenter_dialog();
        case escape_key: std::exit(0);
        default: return true;  // 's', 'a' (the chart comes with command_key) and any other key
    }
}
