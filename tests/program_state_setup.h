// Test support: the program state as a complete dialog pass leaves it, for tests that run the
// response or draw without going through the console.
#pragma once

#include "state/program_state.h"

// The given equation and parameters, the response started from (y0, v0) at t = 0 with history
// entry 0, the view scales and origins of the reset, command_key set to key.
inline void reset_state(char kind, double beta_value, double delta_value, double epsilon_value,
                        double y0, double v0, char key) {
    command_key = key;
    system_kind = kind;
    beta = beta_value;
    two_beta = 2.0 * beta_value;
    delta = delta_value;
    epsilon = epsilon_value;
    y_init = y0;
    v_init = v0;
    reset_response_and_views();
    epsilon_steps = 500;
}
