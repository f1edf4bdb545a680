// The explorer's drawings (paravib-explore only): the pale shading of the unstable parameter
// pairs under the chart, the phase plane that takes the mass picture's place, the multiplier
// readout under the chart legend, and the whole picture drawn again for export.
#pragma once

#include "draw/draw_primitives.h"
#include "state/explore_state.h"

// Pale tint of the unstable pairs: (255, 235, 190) in 8-bit channels, light enough that the
// boundary dots, the grid and the red point stay clear on it.
extern const rgba unstable_tint;

// Phase plane box in window coordinates: the lower right quadrant, below the chart legend and
// the readout, where the response view draws nothing; the mass takes the same box. Its axes cross
// at the centre; y runs to the right and v upwards, both on the scale of draw/motion_box.h.
constexpr double phase_plane_left = 0.05;
constexpr double phase_plane_right = 0.95;
constexpr double phase_plane_bottom = -0.90;
constexpr double phase_plane_top = -0.40;

// The cached raster of unstable_shading over the whole window, tinted where unstable and white
// elsewhere, as one textured quad with lighting off (the texture is reloaded only after a new
// build of the raster). Draws nothing when the raster is not valid or was made for another
// system, beta, chart scale or chart origin than the current ones, so a stale raster never shows.
void draw_unstable_shading();

// The trajectory (y, v) through history entries 0 ... sample_index as a red line 2 pixels wide,
// on the scale fitted to it with its ticks (draw/motion_box.h), clipped to the box, the current state as a red disc, black axes through the box centre and the
// legend line. Leaves the line width at 2 and lighting on, as draw_curve does.
void draw_phase_plane();

// The line "|mu|max = <largest |multiplier|> per period: stable" (or "unstable") at (-0.05, -0.30),
// under the chart legend, when chosen_point_readout belongs to the current system, beta, delta and
// epsilon; nothing otherwise.
void draw_multiplier_readout();

// The status line at the foot of the window, in every picture: the equation, beta, delta,
// epsilon, the time t and, once known, |mu|max with its verdict, for example
// "Mathieu  beta=0.1  delta=1.000  eps=0.400  t=12.30  |mu|max=1.234 unstable".
void draw_status_line();
const char* format_status_line(char* text, int capacity);
// The status line without the time, which changes with every frame: what a page mirrors for
// screen readers.
const char* format_readout_line(char* text, int capacity);

// Over the chart: the delta and epsilon values at every grid line that has room for them (every
// first, second, fifth or tenth line, the fewest that keep labels 0.06 window units apart), the
// number n and the period of each tongue at delta = n^2/4 that lies in the window (n odd: 4 pi,
// the black curves; n even: 2 pi, the red ones), and a legend line on what a tongue holds.
void draw_chart_labels();

// Formats the readout line into text (capacity bytes); returns text. A non-finite max_modulus
// gives no verdict.
const char* format_multiplier_readout(double max_modulus, bool stable, char* text, int capacity);

// Stores the present line width in shown_frame_line_width: called before each frame on show.
void note_shown_frame_line_width();

// Draws the picture that draw_picture draws into the window's back buffer at picture_pixels x
// picture_pixels (independent of the window's present size; a smaller window is covered tile by
// tile) and reads it back into rgb, 3 bytes per pixel, top row first, without a swap: the screen
// keeps its picture, and the next frame drawn overwrites the back buffer. start_line_width is the
// line width the picture on show started with (segments such as the string of the mass inherit
// it), so the copy matches the screen. The viewport and the line width are restored. False when
// the window has no area or OpenGL reports an error (rgb then holds no whole picture).
bool render_picture(unsigned char* rgb, float start_line_width);
