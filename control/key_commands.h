// The key table of the graphics window, apart from the drawing: each key's effect on the program
// state, the re-entry into the console dialog, and the end of the program on ESC.
#pragma once

// Factor of every zoom key: the double nearest 0.9 (0x3FECCCCCCCCCCCCD). Lower-case keys multiply
// by it, upper-case keys divide by it (a true division, not a product with its reciprocal).
constexpr double zoom_factor = 0.9;

// Stores key in command_key, then acts on it:
//   s            nothing else                               -> true
//   t / T        time_scale times / divided by zoom_factor   -> true
//   y / Y        y_scale times / divided by zoom_factor      -> true
//   z / Z        chart_scale_delta, then chart_scale_epsilon, times / divided by it -> true
//   k, b, d, j   t_now = 0, then the dialog from step (1), (2), (3), (4)           -> false
//   ESC (27)     exit(0)
//   a, any other nothing else                               -> true
// Returns whether the caller should draw the next frame now. No limit is put on the scales.
bool apply_key(unsigned char key);
