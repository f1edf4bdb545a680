// Every text of paravib-explore in one table per language, Japanese and English: the console
// texts of the dialog it shares with paravib, its own key help and console messages, and the
// legends, readout and status line of its window. The option --lang chooses the table.
#pragma once

#include "state/program_texts.h"

// The window's bitmap font holds Latin letters only, so both languages show these in English.
// Formats: readout "%.4g" |mu|max and "%s" the verdict; status "%s" the equation, then beta, delta
// and epsilon as "%.4g", "%.3f", "%.3f"; status_time t as "%.2f"; status_readout "%.4g" |mu|max
// and "%s".
struct window_texts {
    const char* phase_plane_legend;
    const char* readout;
    const char* stable;
    const char* unstable;
    const char* mathieu;
    const char* square_wave;
    const char* no_equation;
    const char* status;
    const char* status_time;  // "%.2f": t, after status in the window, left out of a page's readout
    const char* status_readout;
    const char* no_verdict_readout;  // a non-finite |mu|max decides nothing
    const char* no_verdict_status;
    const char* tongue_legend;
};

struct explore_texts {
    char language;                 // 'j' Japanese, 'e' English: the experiments' title column
    const program_texts* program;  // the dialog's, the loader's and the caption
    const char* help_lines[7];     // the explorer's keys, after paravib's key help
    const char* equation_key_refused_line;
    const char* picked_line;        // "%.3f %.3f": delta and epsilon chosen on the chart
    const char* saved_line;         // "%s": the picture's path
    const char* not_saved_line;     // "%s (%s)": the path and why
    const char* no_offscreen_line;  // the picture drawn again could not be read back
    const char* experiment_line;    // "%d: %s": an experiment's number and title
    const window_texts* window;
};

extern const explore_texts japanese_explore_texts;
extern const explore_texts english_explore_texts;

// The table in use: japanese_explore_texts until the explorer's main chooses another.
extern const explore_texts* explore_language;
const explore_texts& explore_text();
