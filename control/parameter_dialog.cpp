// The console parameter dialog: four numbered steps, the boundary tables that follow the damping,
// the key help and the reset of the running response and the view scales. Texts are UTF-8.
#include "control/parameter_dialog.h"

#include <cstdio>

#include "control/console.h"
#include "data/boundary_files.h"
#include "stability/boundary_scan.h"
#include "stability/boundary_scan_jobs.h"
#include "state/program_hooks.h"
#include "state/program_state.h"

namespace {

// Header of a pass that starts at step (1), each line written by one output call.
const char* const header_lines[] = {
    "\n\n係数励振型自励振動の描画  Mathieuの式または矩形波係数励振",
    "\n\nキー入力  (1) 振動系の選択",
    "\nキー入力  (2) β",
    "\nキー入力  (3) δ，ε",
    "\n        　(4) 初期条件",
    "\n\n(1) Mathieu式　or　矩形波励振の選択　キー入力 m or r=",
};
const char* const mathieu_line = "\nm:正規化Mathieuの式　ddy/ddt+2β*dy/dt+(δ+εcos(t))*y=0";
const char* const square_wave_line = "\nm:正規化矩形波励振 　ddy/ddt+2β*dy/dt+(δ±ε)*y=0";

const char* const beta_prompt = "\n\n(2) キー入力　β=";
const char* const scan_b1_line = "\n安定限界B1(δ,ε)=0を計算中．．．．";
const char* const scan_b2_line = "\n安定限界B2(δ,ε)=0を計算中．．．．";
const char* const scan_period_t_line = "\n矩形波励振 周期Ｔの安定限界RA(δ,ε)=0を計算中．．．．";
const char* const scan_period_2t_line = "\n矩形波励振 周期2Tの安定限界RA(δ,ε)=0を計算中．．．．";

const char* const point_prompt = "\n\n(3) キー入力  δ ε=";
const char* const initial_values_prompt = "\n\n(4) 初期条件　キー入力  y0 v0=";

const char* const unreadable_number_line = "\n数値として読めません。もう一度入力してください。";

const char* const key_help_lines[] = {
    "\n振動曲線描画表示　赤：応答　緑：速度　青：係数励振\n",
    "\n's'キー：振動描画継続                      'Y', 'y'キー：振動曲線縦倍率増減",
    "\n'k'キー：Mathieu式・矩形波係数励振の選択   'T', 't'キー：振動曲線時間軸伸縮",
    "\n'b'キー：β変更                            'z', 'Z'キー：安定領域図縦横軸伸縮",
    "\n'd'キー：δ,ε変更",
    "\n'j'キー：初期条件変更",
    "\n'a'キー：安定限界図表示（その時のみ）",
};
const char* const end_key_help_line = "\nESCキー：終了\n";

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

// Asks until count valid numbers come; the fields change only then, all together.
void ask_numbers(const char* prompt, int count, double* fields[]) {
    double values[max_numbers_per_read];
    say(prompt);
    while (!read_numbers(count, values)) {
        say(unreadable_number_line);
        say(prompt);
    }
    for (int i = 0; i < count; ++i) *fields[i] = values[i];
}

void choose_equation() {
    for (const char* line : header_lines) say(line);
    system_kind = read_key();
    while (hooks.equation_key_refused_line != nullptr && system_kind != 'm' && system_kind != 'r') {
        say(hooks.equation_key_refused_line);
        say(header_lines[sizeof header_lines / sizeof header_lines[0] - 1]);
        system_kind = read_key();
    }
    if (system_kind == 'm') say(mathieu_line);
    if (system_kind == 'r') say(square_wave_line);
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
    double* fields[] = {&beta};
    ask_numbers(beta_prompt, 1, fields);
    two_beta = 2.0 * beta;
    if (system_kind == 'm') {
        if (is_tabled_beta(beta)) {
            std::fflush(stdout);
            load_boundary_files(beta);
        } else {
            scan_pair(scan_b1_line, '5', scan_b2_line, '6');
        }
    }
    if (system_kind == 'r') scan_pair(scan_period_t_line, 'A', scan_period_2t_line, 'B');
}

void ask_point() {
    double* fields[] = {&delta, &epsilon};
    ask_numbers(point_prompt, 2, fields);
}

void ask_initial_values() {
    double* fields[] = {&y_init, &v_init};
    ask_numbers(initial_values_prompt, 2, fields);
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
    for (const char* line : key_help_lines) say(line);
    for (int i = 0; i < hooks.help_line_count; ++i) say(hooks.help_lines[i]);
    say(end_key_help_line);
    std::fflush(stdout);
    reset_response_and_views();
}
