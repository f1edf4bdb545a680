// Definitions and load values of the program state declared in program_state.h.
// Fields without an initialiser start at zero (static storage).
// These are all of the program's mutable globals that more than one file sees; any other is a bug
// (scratch storage private to one file, such as the Hill matrices, is not shared state).
#include "state/program_state.h"

#include "state/numbers.h"

char command_key = 0;
char system_kind = 0;

double beta = 0.0;
double two_beta = 0.0;
double delta = 0.0;
double epsilon = 0.0;
double y_init = 0.0;
double v_init = 0.0;

double live_state[2] = {0.0, 0.0};
double& y_now = live_state[0];
double& v_now = live_state[1];
double t_now = 0.0;
double time_step = 0.01;
int steps_per_frame = 10;
int sample_index = 0;

double response_history[3][history_length];
double (&y_history)[history_length] = response_history[0];
double (&v_history)[history_length] = response_history[1];
double (&k_history)[history_length] = response_history[2];

double y_scale = 0.0;
double time_scale = 0.0;
double chart_scale_delta = 0.0;
double chart_scale_epsilon = 0.0;
point screen_centre = {0.0, 0.0};
point response_origin = {0.0, 0.0};
point chart_origin = {0.0, 0.0};

int epsilon_steps = epsilon_intervals;
boundary_table boundary_b1;
boundary_table boundary_b2;
boundary_table boundary_dc1;
boundary_table boundary_ds1;
boundary_table boundary_dc2;
boundary_table boundary_ds2;

const char* const window_title =
    "係数励振型自励振動　k:振動系 b:β d:δ,ε j:初期条件 変更 s:描画継続";

bool chart_shown() { return command_key == 'a' || command_key == 'z' || command_key == 'Z'; }

// The other 1500 history entries keep their samples; a new sweep overwrites them as it goes.
void restart_motion() {
    y_now = y_init;
    v_now = v_init;
    t_now = 0.0;
    sample_index = 0;
    y_history[0] = y_now;
    v_history[0] = v_now;
    k_history[0] = 0.0;
}

void reset_response_and_views() {
    restart_motion();
    y_scale = 0.5;
    time_scale = 0.01;
    chart_scale_delta = 0.09;
    chart_scale_epsilon = 0.1;
    screen_centre = {0.0, 0.0};
    response_origin = {-0.99, 0.0};
    chart_origin = screen_centre;
}
