// The response view: the display callback that advances the motion by one frame and draws the
// mass on its string, the legends, the curves y(t), v(t), K(t), the axes and the time grid, and
// the stability chart over them after the keys 'a', 'z' and 'Z'.
#pragma once

#include "state/program_state.h"

// Curves of the response view, in history row order: y red, v green, K blue.
constexpr int curve_count = 3;

// GLUT display callback, also called directly by the keyboard callback. Calls the seam's
// before_frame hook when one is set, then clears the frame,
// advances the running response by steps_per_frame integrator steps and records one history
// sample (sample_index stays within 0 ... history_last), draws the whole picture from the
// program state and swaps the buffers. Changes no field but the running response and the history.
void display();

// The whole picture from the program state, between begin_frame and end_frame, without advancing
// the motion: the response view, then the chart when command_key is 'a', 'z' or 'Z'. The seam's
// picture hooks (state/program_hooks.h) add a layer under it all, something in place of the mass
// and a layer over it all.
void draw_picture();

// n masses on a red string stretched from origin to (0.99, origin.y), mass i (palette colour i,
// radius 0.04) lifted by scale * values[i]; red supports of radius 0.01 at both ends. n <= 21.
void draw_mass_chain(const point& origin, double scale, int n, const double* values);

// count curves of samples 0 ... last, curve i from the row that starts row_stride * i doubles
// after rows, drawn with vertical scale scales[i] in palette colour i, dx apart from origin.
void draw_curves(const point& origin, double dx, const double* scales, int count, int last,
                 const double* rows, int row_stride);
