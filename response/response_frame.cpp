// The response's time advance and history sampling, one frame per display call.
#include "response/response_frame.h"

#include "response/equation_of_motion.h"
#include "state/program_state.h"

void advance_frame() {
    for (int j = 0; j < steps_per_frame; ++j) {
        double state_prev[2] = {y_now, v_now};
        rkg_step(t_now, time_step, state_prev, live_state, 2);
        t_now = t_now + time_step;
    }

    // The sweep holds entries 0 ... 1 / time_scale; a quotient that is NaN counts as exceeded,
    // and the history's own length bounds the sweep whatever the time scale.
    sample_index = sample_index + 1;
    if (!(1.0 / time_scale >= sample_index) || sample_index > history_last) sample_index = 0;

    y_history[sample_index] = y_now;
    v_history[sample_index] = v_now;
    if (system_kind == 'm') {
        k_history[sample_index] = stiffness(t_now);
    } else if (system_kind == 'r') {
        // Fold once per frame: a frame advances only 0.1, so t_now stays within one period.
        if (t_now > full_period) t_now = t_now - full_period;
        k_history[sample_index] = stiffness(t_now);
    }
}
