// The explorer's drawings (paravib-explore only): the pale shading of the unstable parameter
// pairs under the chart, the phase plane that takes the mass picture's place, the multiplier
// readout under the chart legend, and the whole picture rendered off screen for export.
#pragma once

#include "draw/draw_primitives.h"
#include "state/explore_state.h"

// Pale tint of the unstable pairs: (255, 235, 190) in 8-bit channels, light enough that the
// boundary dots, the grid and the red point stay clear on it.
extern const rgba unstable_tint;

// Phase plane box in window coordinates: the lower right quadrant, below the chart legend and
// the readout, where the response view draws nothing. Its axes cross at the centre; y runs to the
// right and v upwards, both at phase_plane_scale_factor * y_scale window units per unit, so a
// motion of amplitude 1 at the start scale (y_scale 0.5) just fills the box's height.
constexpr double phase_plane_left = 0.05;
constexpr double phase_plane_right = 0.95;
constexpr double phase_plane_bottom = -0.90;
constexpr double phase_plane_top = -0.40;
constexpr double phase_plane_scale_factor = 0.5;

// Legend of the phase plane, inside its box at the top.
extern const char* const phase_plane_legend;

// The cached raster of unstable_shading over the whole window, tinted where unstable and white
// elsewhere, as one textured quad with lighting off (the texture is reloaded only after a new
// build of the raster). Draws nothing when the raster is not valid or was made for another
// system, beta, chart scale or chart origin than the current ones, so a stale raster never shows.
void draw_unstable_shading();

// The trajectory (y, v) through history entries 0 ... sample_index as a red line 2 pixels wide,
// clipped to the box, the current state as a red disc, black axes through the box centre and the
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

// Over the chart: the delta and epsilon values at every grid line that has room for them (every
// first, second, fifth or tenth line, the fewest that keep labels 0.06 window units apart), the
// number n and the period of each tongue at delta = n^2/4 that lies in the window (n odd: 4 pi,
// the black curves; n even: 2 pi, the red ones), and a legend line on what a tongue holds.
void draw_chart_labels();

// Formats the readout line into text (capacity bytes); returns text.
const char* format_multiplier_readout(double max_modulus, bool stable, char* text, int capacity);

// Stores the present line width in shown_frame_line_width: called before each frame on show.
void note_shown_frame_line_width();

// Draws the picture that draw_picture draws into an off-screen buffer of picture_pixels x
// picture_pixels (independent of the window's present size) and reads it back into rgb, 3 bytes
// per pixel, top row first. start_line_width is the line width the picture on show started with
// (segments such as the string of the mass inherit it), so the copy matches the screen. The window
// keeps its picture; the viewport and the line width are restored. False when the OpenGL
// implementation offers no complete off-screen buffer (rgb is then left as it was).
bool render_picture(unsigned char* rgb, float start_line_width);
