// Runs the console dialog and the key table without a window, for console_dialog_test.py.
// Usage: dialog_driver ENTRY_KEYS [WINDOW_KEYS]. Each byte of ENTRY_KEYS is one dialog pass
// entered with that command_key, each byte of WINDOW_KEYS one key through the key table. The
// program state is reported on stderr after every pass and key, and once more at exit; a table
// reads "changed" when that pass or key wrote it.
#include <cstdio>
#include <cstdlib>

#include "control/key_commands.h"
#include "control/parameter_dialog.h"
#include "state/program_state.h"

namespace {

// Marks a table as untouched: a count and a value that no scan or boundary file produces.
constexpr int sentinel_count = 9;
constexpr double sentinel_value = -7.25;

struct named_table {
    const char* name;
    boundary_table* table;
};
const named_table tables[] = {
    {"b1", &boundary_b1},   {"b2", &boundary_b2},   {"dc1", &boundary_dc1},
    {"ds1", &boundary_ds1}, {"dc2", &boundary_dc2}, {"ds2", &boundary_ds2},
};

void fill_sentinel(boundary_table& t) {
    for (int i = 0; i < boundary_columns; ++i) {
        t.counts[i] = sentinel_count;
        for (int r = 0; r < boundary_rows; ++r) t.points[r][i] = sentinel_value;
    }
}

bool is_sentinel(const boundary_table& t) {
    for (int i = 0; i < boundary_columns; ++i) {
        if (t.counts[i] != sentinel_count) return false;
        for (int r = 0; r < boundary_rows; ++r) {
            if (t.points[r][i] != sentinel_value) return false;
        }
    }
    return true;
}

// A running motion with views moved away from their start values, a short scan length and
// sentinel tables, so that a pass's resets and the tables it fills show.
void disturb_state() {
    for (const named_table& t : tables) fill_sentinel(*t.table);
    t_now = 5.0;
    sample_index = 37;
    y_now = 3.0;
    v_now = -3.0;
    for (int r = 0; r < 3; ++r) {
        response_history[r][0] = 11.0 + r;
        response_history[r][1] = 21.0 + r;
    }
    y_scale = 2.0;
    time_scale = 0.5;
    chart_scale_delta = 3.0;
    chart_scale_epsilon = 4.0;
    screen_centre = {0.25, 0.5};
    response_origin = {0.75, 0.125};
    chart_origin = {-0.5, -0.25};
    epsilon_steps = 20;
}

void report(const char* label) {
    std::fprintf(stderr, "== %s\n", label);
    std::fprintf(stderr, "command_key=%d\nsystem_kind=%d\n", command_key, system_kind);
    const struct {
        const char* name;
        double value;
    } doubles[] = {
        {"beta", beta},
        {"two_beta", two_beta},
        {"delta", delta},
        {"epsilon", epsilon},
        {"y_init", y_init},
        {"v_init", v_init},
        {"y_now", y_now},
        {"v_now", v_now},
        {"t_now", t_now},
        {"y_history0", y_history[0]},
        {"v_history0", v_history[0]},
        {"k_history0", k_history[0]},
        {"y_history1", y_history[1]},
        {"v_history1", v_history[1]},
        {"k_history1", k_history[1]},
        {"y_scale", y_scale},
        {"time_scale", time_scale},
        {"chart_scale_delta", chart_scale_delta},
        {"chart_scale_epsilon", chart_scale_epsilon},
        {"screen_centre_x", screen_centre.x},
        {"screen_centre_y", screen_centre.y},
        {"response_origin_x", response_origin.x},
        {"response_origin_y", response_origin.y},
        {"chart_origin_x", chart_origin.x},
        {"chart_origin_y", chart_origin.y},
    };
    for (const auto& d : doubles) std::fprintf(stderr, "%s=%a\n", d.name, d.value);
    std::fprintf(stderr, "sample_index=%d\nepsilon_steps=%d\n", sample_index, epsilon_steps);
    for (const named_table& t : tables) {
        std::fprintf(stderr, "table_%s=%s\n", t.name, is_sentinel(*t.table) ? "kept" : "changed");
    }
}

void report_at_exit() { report("exit"); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: dialog_driver ENTRY_KEYS [WINDOW_KEYS]\n");
        return 2;
    }
    std::atexit(report_at_exit);
    char label[64];
    for (const char* entry = argv[1]; *entry != '\0'; ++entry) {
        disturb_state();
        command_key = *entry;
        parameter_dialog();
        std::snprintf(label, sizeof label, "pass %d", *entry);
        report(label);
    }
    if (argc == 3) {
        for (const char* key = argv[2]; *key != '\0'; ++key) {
            for (const named_table& t : tables) fill_sentinel(*t.table);
            t_now = 5.0;
            bool draw = apply_key(static_cast<unsigned char>(*key));
            std::snprintf(label, sizeof label, "key %d display=%d", *key, draw ? 1 : 0);
            report(label);
        }
    }
    return 0;
}
