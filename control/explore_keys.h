// The explorer's additions to the key table, apart from the drawing: the key 'p' (phase plane
// on or off), the pick of (delta, epsilon) with a left click on the chart, and the picture file
// that the key 'w' writes.
#pragma once

// The key that writes the picture; the caller renders it and hands it to save_picture.
constexpr unsigned char picture_key = 'w';

// 'p' toggles phase_plane_shown and leaves command_key alone, so a chart on show stays; every
// other key goes to apply_key. Returns whether the caller should draw the next frame now.
bool apply_explore_key(unsigned char key);

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
