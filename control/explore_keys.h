// The explorer's keys, tried before the program's key table, apart from the drawing: 'p' (phase
// plane on or off), 'w' and 'v' (the picture file, PNG or SVG); the pick of (delta, epsilon) with
// a left click on the chart; and the picture files that the keys 'w' and 'v' write.
#pragma once

#include <cstdio>

#include "state/program_state.h"

// What the caller does after apply_explore_key.
enum class explore_key_outcome {
    passed,          // not an explorer key: hand it to the program's key table
    draw,            // draw the next frame now
    view,            // the chart's view changed: draw once the keys waiting are taken
    picture,         // render the picture on show and hand it to save_picture; draw nothing
    vector_picture,  // write the picture on show through save_vector_picture; draw nothing
};

// One design pixel of the 800-pixel window in window units: the step of the arrow keys.
constexpr double chart_pixel_width = 2.0 / 800;

// 'p' toggles phase_plane_shown (-> draw); 'w' asks for the picture (-> picture), 'v' for it as
// SVG (-> vector_picture); all three leave command_key alone, so a chart on show stays. 'a' pins
// the chart over the motion or takes it away (-> draw); 'z' and 'Z' zoom it about the red point
// and pin it (-> view); while it is pinned, 's', 't', 'T', 'y' and 'Y' do what the key table does
// and keep it shown (-> draw). Any other key, and those five while the chart is not pinned,
// change nothing (-> passed).
explore_key_outcome apply_explore_key(unsigned char key);

// Both chart scales times factor, chart_origin moved so that the window point fixed shows the same
// (delta, epsilon) as before.
void zoom_chart(double factor, const point& fixed);

// chart_origin moved by (right, up) window units: the chart's view slides, the scales stay.
void pan_chart(double right, double up);

// Window place of the chosen (delta, epsilon) on the chart.
point chosen_point_on_chart();

// Moves (delta, epsilon) by right and up pixels of the chart on show (chart_pixel_width window
// units each), restarts the motion from (y0, v0) at t = 0 and prints the pair as a click does.
void steer_point(int right, int up);

// A left click at pixel (x, y) of a window of width x height pixels (x from the left, y from the
// top, as GLUT reports them). While the chart is shown, sets delta and epsilon to the chart
// coordinates under the pixel's centre (through chart_origin and the chart scales, so zoomed
// charts work; any pair is taken, epsilon < 0 included), restarts the motion from (y0, v0) at
// t = 0 without touching the scales, and prints the pair on the console. Returns whether it did
// (false while the chart is hidden or for a window without pixels).
bool pick_on_chart(int x, int y, int width, int height);

// Writes the width x height RGB picture (rows top first) as a PNG file with a name not used yet
// in picture_folder (paravib-001.png, paravib-002.png, ...; an existing file is never replaced)
// and prints its path, or prints why it could not be written. Returns whether it was written.
bool save_picture(const unsigned char* rgb, int width, int height);

// As save_picture, for the picture that write puts into the open file as an SVG document
// (paravib-001.svg, paravib-002.svg, ..., numbered apart from the PNG files); write returns
// whether every byte was written.
bool save_vector_picture(bool (*write)(std::FILE* file));
