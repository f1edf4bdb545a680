// The texts that paravib's console dialog, its boundary loader and its window caption show, as one
// table, so that a program on the seam can show them in another language (state/program_hooks.h);
// paravib shows japanese_program_texts. Texts are UTF-8; console lines start with a line feed.
#pragma once

// Lines printed by the dialog: the header of step (1), the prompts, the scans' progress lines and
// the key help; then the loader's progress lines and the caption of the window.
struct program_texts {
    const char* header_lines[6];  // the last one is the prompt of question (1)
    const char* mathieu_line;
    const char* square_wave_line;
    const char* beta_prompt;
    const char* scan_b1_line;
    const char* scan_b2_line;
    const char* scan_period_t_line;
    const char* scan_period_2t_line;
    const char* point_prompt;
    const char* initial_values_prompt;
    const char* unreadable_number_line;
    const char* key_help_lines[7];
    const char* end_key_help_line;
    const char* undamped_load_lines[4];  // before each undamped file
    const char* damped_load_lines[2];    // before B1 and B2: one %4.2f, the damping typed
    const char* unreadable_file_line;    // %s the file's name; its table is scanned instead
    const char* no_root_reason_line;     // after it, for a file holding no root at all
    const char* reason_line;             // after it: %s the system's reason
    const char* window_title;
};

// paravib's own texts, Japanese.
extern const program_texts japanese_program_texts;

// The texts to show: the seam's hooks.texts when a program set it, else japanese_program_texts.
const program_texts& program_text();
