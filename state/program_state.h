// The one program state of paravib: parameters of y'' + 2 beta y' + K(t) y = 0, the running
// response and its history, the view scales and the six boundary tables. Every module reads and
// writes these fields directly; they live for the whole run and are touched on one thread only.
#pragma once

#include "state/boundary_table.h"

// A point in window coordinates (or any pair): x first, then y.
struct point {
    double x;
    double y;
};

// History rows hold 1501 samples (entries 0 ... 1500); a sweep never indexes past the last one.
constexpr int history_length = 1501;
constexpr int history_last = history_length - 1;

// Command and equation.
extern char command_key;  // last command character; 'k' before the first dialog
extern char system_kind;  // 'm' damped Mathieu, 'r' square wave, any other key kept as typed

// Parameters.
extern double beta;      // damping beta; also replaced by the beta line of each boundary file read
extern double two_beta;  // 2 beta as typed, the only damping the equation of motion uses
extern double delta;     // static stiffness delta
extern double epsilon;   // excitation amplitude epsilon
extern double y_init;    // initial displacement y0
extern double v_init;    // initial velocity v0

// Running response. y_now and v_now are the two components of live_state, so the integrator can
// advance them as one state vector (displacement first).
extern double live_state[2];
extern double& y_now;
extern double& v_now;
extern double t_now;         // current time
extern double time_step;     // integration step h, 0.01
extern int steps_per_frame;  // integrator steps per display call, 10
extern int sample_index;     // newest history entry, 0 ... history_last

// Response history: three rows of history_length doubles in one array (y, v, K), so row i
// starts history_length * i doubles after y_history.
extern double response_history[3][history_length];
extern double (&y_history)[history_length];
extern double (&v_history)[history_length];
extern double (&k_history)[history_length];

// View scales and placement (window coordinates -1 ... 1).
extern double y_scale;              // vertical scale of the response view, 0.5 after a dialog
extern double time_scale;           // horizontal advance per sample, 0.01 after a dialog
extern double chart_scale_delta;    // chart window units per unit of delta, 0.09 after a dialog
extern double chart_scale_epsilon;  // chart window units per unit of epsilon, 0.1 after a dialog
extern point screen_centre;         // base point of both grids
extern point response_origin;       // left end of the time axis, (-0.99, 0) after a dialog
extern point chart_origin;          // window place of delta = 0, epsilon = 0

// Boundary data.
extern int epsilon_steps;  // epsilon intervals of a scan or a boundary file, epsilon_intervals
extern boundary_table boundary_b1;   // B1, or the period-T square-wave boundary
extern boundary_table boundary_b2;   // B2, or the period-2T square-wave boundary
extern boundary_table boundary_dc1;  // undamped Mathieu curves, loaded for beta = 0 only
extern boundary_table boundary_ds1;
extern boundary_table boundary_dc2;
extern boundary_table boundary_ds2;

// Window caption (UTF-8).
extern const char* const window_title;

// Whether the picture includes the stability chart: the last command key was 'a', 'z' or 'Z'.
bool chart_shown();

// A new motion from (y_init, v_init) at t = 0 whose history sweep starts at entry 0 (entries
// 1 ... 1500 are kept); the view scales stay as they are.
void restart_motion();

// The end of every dialog pass: restart_motion, and every view scale and placement at its start
// value.
void reset_response_and_views();
