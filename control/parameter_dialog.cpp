// The console parameter dialog: four numbered steps, the boundary tables that follow the damping,
// the key help and the reset of the running response and the view scales. Its texts are those of
// program_text(), in UTF-8.
#include "control/parameter_dialog.h"

#include <cstdio>

#include "control/console.h"
#include "data/boundary_files.h"
#include "stability/boundary_scan.h"
#include "stability/boundary_scan_jobs.h"
#include "state/program_hooks.h"
#include "state/program_state.h"
#include "state/program_texts.h"

namespace {

// Damping values with stored Mathieu boundaries, as the doubles their decimal input yields;
// beta = 0 is tested separately by numeric comparison, so -0 counts as well.
constexpr double tabled_damped_betas[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0};

bool is_tabled_beta(double b) {
    if (b == 0.0) return true;
    for (double tabled : tabled_damped_betas) {
        if (b == tabled) return true;
    }
    return false;
}

void say(const char* text) { std::fputs(text, stdout); }

// The answer given before the dialog to question step (1 ... 4), or nullptr when it is to be asked.
const dialog_answer* answer_to(int step) {
    if (hooks.answers == nullptr || !hooks.answers[step - 1].given) return nullptr;
    return &hooks.answers[step - 1];
}

// Asks until count valid numbers come; the fields change only then, all together. An answer
// given before stands after the prompt and is taken as it is.
void ask_numbers(int step, const char* prompt, int count, double* fields[]) {
    double values[max_numbers_per_read];
    say(prompt);
    if (const dialog_answer* given = answer_to(step)) {
        say(given->text);
        for (int i = 0; i < count; ++i) *fields[i] = given->values[i];
        return;
    }
    while (!read_numbers(count, values)) {
        say(program_text().unreadable_number_line);
        say(prompt);
    }
    for (int i = 0; i < count; ++i) *fields[i] = values[i];
}

void choose_equation() {
    const program_texts& t = program_text();
    for (const char* line : t.header_lines) say(line);
    const dialog_answer* given = answer_to(1);
    system_kind = given != nullptr ? given->key : read_key();
    while (hooks.equation_key_refused_line != nullptr && system_kind != 'm' && system_kind != 'r') {
        say(hooks.equation_key_refused_line);
        say(t.header_lines[sizeof t.header_lines / sizeof t.header_lines[0] - 1]);
        system_kind = read_key();
    }
    if (system_kind == 'm') say(t.mathieu_line);
    if (system_kind == 'r') say(t.square_wave_line);
}

// Progress lines come first and are flushed, because a scan keeps the console silent for a while.
// The two tables are scanned at the same time where there is a second hardware thread; the
// second line follows once the first table is complete, as it does when they run in turn.
bool announce_second(int index, void* second_line) {
    if (index == 0) {
        say(*static_cast<const char**>(second_line));
        std::fflush(stdout);
    }
    return true;
}

void scan_pair(const char* first_line, char first_kind, const char* second_line, char second_kind) {
    say(first_line);
    std::fflush(stdout);
    const boundary_scan_job jobs[] = {{first_kind, beta, &boundary_b1, epsilon_steps},
                                      {second_kind, beta, &boundary_b2, epsilon_steps}};
    const int threads = boundary_scan_thread_count() < 2 ? 1 : 2;
    boundary_scan_jobs(jobs, 2, threads, announce_second, &second_line);
}

// The damping and the stability boundaries of the chosen equation for it. two_beta keeps the
// typed value even when a boundary file then replaces beta with the one stored in it.
void ask_damping() {
    epsilon_steps = epsilon_intervals;
    const program_texts& t = program_text();
    double* fields[] = {&beta};
    ask_numbers(2, t.beta_prompt, 1, fields);
    two_beta = 2.0 * beta;
    if (system_kind == 'm') {
        if (is_tabled_beta(beta)) {
            std::fflush(stdout);
            load_boundary_files(beta);
        } else {
            scan_pair(t.scan_b1_line, '5', t.scan_b2_line, '6');
        }
    }
    if (system_kind == 'r') scan_pair(t.scan_period_t_line, 'A', t.scan_period_2t_line, 'B');
}

void ask_point() {
    double* fields[] = {&delta, &epsilon};
    ask_numbers(3, program_text().point_prompt, 2, fields);
}

void ask_initial_values() {
    double* fields[] = {&y_init, &v_init};
    ask_numbers(4, program_text().initial_values_prompt, 2, fields);
}

}  // namespace

void parameter_dialog() {
    prepare_console_output();
    int first_step = 1;
    switch (command_key) {
        case 'b': first_step = 2; break;
        case 'd': first_step = 3; break;
        case 'j': first_step = 4; break;
        default: break;
    }
    if (first_step <= 1) choose_equation();
    if (first_step <= 2) ask_damping();
    if (first_step <= 3) ask_point();
    ask_initial_values();
    const program_texts& t = program_text();
    for (const char* line : t.key_help_lines) say(line);
    for (int i = 0; i < hooks.help_line_count; ++i) say(hooks.help_lines[i]);
    say(t.end_key_help_line);
    std::fflush(stdout);
    reset_response_and_views();
}
