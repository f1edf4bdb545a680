// The one seam through which a program built on paravib's window and dialog adds to them: layers
// of the picture, a key handler, a click handler and help lines, all set by that program's own
// main before the dialog starts. paravib sets none of them and then draws, reads and prints as if
// the seam were not there.
#pragma once

// The arrow keys, as the window reports them.
enum class arrow_key { left, right, up, down };

struct program_hooks {
    // Called by the display callback before the frame is cleared and the motion advanced.
    void (*before_frame)();
    // Drawn first in every picture, under the response view and the chart.
    void (*under_picture)();
    // Draws something in place of the mass on its string and returns true, or returns false to
    // leave the mass where it is.
    bool (*instead_of_mass)();
    // Called in place of the stability chart while it is shown: draws it in its own way and
    // returns true, or returns false to have it drawn as it is without the hook.
    bool (*instead_of_chart)();
    // Drawn last in every picture, over the response view and the chart.
    void (*over_picture)();
    // Tried before the key table with every window key; returns true when it took the key (and
    // drew whatever the key asks for), false to hand it to the key table.
    bool (*key)(unsigned char key);
    // A left click at pixel (x, y) of a width x height window (x from the left, y from the top);
    // returns whether the next frame is to be drawn now.
    bool (*click)(int x, int y, int width, int height);
    // An arrow key, with Shift or Ctrl held or not; returns whether the next frame is to be drawn
    // now. Without it the window takes no arrow keys.
    bool (*arrow)(arrow_key key, bool shift, bool control);
    // Printed when question (1) gets a key other than 'm' or 'r', which is then asked again;
    // without it the key is taken as it is.
    const char* equation_key_refused_line;
    // Lines printed after the key help of every dialog pass, before the line of the end key.
    const char* const* help_lines;
    int help_line_count;
};

// All empty at the start.
extern program_hooks hooks;
