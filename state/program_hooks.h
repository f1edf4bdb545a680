// The one seam through which a program built on paravib's window and dialog adds to them: layers
// of the picture, a key handler, a click handler and help lines, all set by that program's own
// main before the dialog starts. paravib sets none of them and then draws, reads and prints as if
// the seam were not there.
#pragma once

#include "state/program_texts.h"

// Longest text of an answer given before the dialog: two numbers of the longest length the
// console reads (512 bytes), a space between them and the terminating NUL.
constexpr int answer_text_capacity = 1027;

// An answer to one question of the dialog, given before it asks (the explorer's options): the key
// of question (1), or the one or two numbers of questions (2) ... (4), and the text that stands
// after the prompt in place of what a user would type.
struct dialog_answer {
    bool given;
    char key;
    double values[2];
    char text[answer_text_capacity];
};

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
    // The picture's state in one line of words (equation, damping, point, verdict), written into
    // text (capacity bytes) and returned, for a page to mirror for screen readers; without it
    // the page shows none.
    const char* (*readout)(char* text, int capacity);
    // The query of a link that opens the program in the present state ("system=m&beta=0.1&..."),
    // written into text and returned, for a page's "link to this point"; without it there is none.
    const char* (*link_query)(char* text, int capacity);
    // Lines printed after the key help of every dialog pass, before the line of the end key.
    const char* const* help_lines;
    int help_line_count;
    // The console texts and the caption in the language of the program; without them paravib's.
    const program_texts* texts;
    // Answers to questions (1) ... (4) of the next dialog pass, which prints each answered prompt
    // with the answer's text and asks only the others; without them every question is asked.
    const dialog_answer* answers;
};

// All empty at the start.
extern program_hooks hooks;
