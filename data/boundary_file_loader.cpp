// The 22 stored boundary tables: their names and scans, the loader the dialog calls for a tabled
// damping (reading each file, or scanning its table when the file is unusable), and the
// scan-and-write step of the boundary file generator.
#include "data/boundary_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "stability/boundary_scan.h"
#include "state/program_state.h"
#include "state/program_texts.h"

const boundary_file_entry boundary_file_list[boundary_file_count] = {
    {"filedc1", '1', 0.0},    {"fileds1", '2', 0.0},    {"filedc2", '3', 0.0},
    {"fileds2", '4', 0.0},    {"fileb1001", '5', 0.01}, {"fileb2001", '6', 0.01},
    {"fileb1002", '5', 0.02}, {"fileb2002", '6', 0.02}, {"fileb1005", '5', 0.05},
    {"fileb2005", '6', 0.05}, {"fileb1010", '5', 0.1},  {"fileb2010", '6', 0.1},
    {"fileb1020", '5', 0.2},  {"fileb2020", '6', 0.2},  {"fileb1050", '5', 0.5},
    {"fileb2050", '6', 0.5},  {"fileb1100", '5', 1.0},  {"fileb2100", '6', 1.0},
    {"fileb1200", '5', 2.0},  {"fileb2200", '6', 2.0},  {"fileb1500", '5', 5.0},
    {"fileb2500", '6', 5.0},
};

namespace {

// Entries 0 ... 3 of the list are the undamped curves; B1 and B2 of each damping follow in pairs.
constexpr int undamped_file_count = 4;
constexpr int damped_pair_count = (boundary_file_count - undamped_file_count) / 2;

// Reads one file into its table. If it is missing or unusable (also when its beta line or an
// epsilon is not the one its name stands for) the table is untouched by the read, the user is
// told, and the table is scanned with the file's own kind and damping, which is what the file would
// have held; the global beta then keeps its value. A file that exists but cannot be opened (no
// permission, for instance) gets the system's reason on a second line.
// A table without a single root is what a damaged or emptied file looks like: it is scanned with
// the file's kind and damping, and counts as damaged where the scan finds roots. (B2 at beta = 5
// has none below epsilon = 10, and its file stays valid; the scan's table equals it then.)
bool empty_where_the_scan_has_roots(const boundary_file_entry& file, boundary_table& table) {
    for (int i = 0; i <= epsilon_steps; ++i)
        if (table.counts[i] != 0) return false;
    boundary_scan(file.kind, file.beta, table.counts, table.points, epsilon_steps);
    for (int i = 0; i <= epsilon_steps; ++i)
        if (table.counts[i] != 0) return true;
    return false;
}

void load_or_scan(const boundary_file_entry& file, boundary_table& table) {
    // A file that is taken replaces the global beta with its own beta line.
    const double beta_before = beta;
    if (read_stored_boundary_file(file, epsilon_steps, table.counts, table.points, &beta)) {
        if (!empty_where_the_scan_has_roots(file, table)) return;
        beta = beta_before;
        std::printf(program_text().unreadable_file_line, file.name);
        std::fputs(program_text().no_root_reason_line, stdout);
        std::fflush(stdout);
        return;
    }
    const int reason = errno;
    std::printf(program_text().unreadable_file_line, file.name);
    if (reason != 0 && reason != ENOENT)
        std::printf(program_text().reason_line, std::strerror(reason));
    std::fflush(stdout);
    boundary_scan(file.kind, file.beta, table.counts, table.points, epsilon_steps);
}

}  // namespace

boundary_write_result generate_boundary_file(const char* path, char kind, double beta, int n,
                                             characteristic_function d) {
    if (n < 0 || n >= boundary_columns) return boundary_table_invalid;
    // About 126 kB on the stack: the table exists only until it is written.
    boundary_table scratch;
    boundary_scan(kind, beta, scratch.counts, scratch.points, n, d);
    return write_boundary_file(path, beta, n, scratch.counts, scratch.points);
}

void load_boundary_files(double typed_beta) {
    // Every test uses typed_beta: each successful read replaces the global beta.
    if (typed_beta == 0.0) {
        boundary_table* const undamped_tables[undamped_file_count] = {&boundary_dc1, &boundary_ds1,
                                                                      &boundary_dc2, &boundary_ds2};
        std::printf("\n");
        for (int i = 0; i < undamped_file_count; ++i) {
            std::printf("%s", program_text().undamped_load_lines[i]);
            std::fflush(stdout);
            load_or_scan(boundary_file_list[i], *undamped_tables[i]);
        }
    }
    for (int pair = 0; pair < damped_pair_count; ++pair) {
        const boundary_file_entry& b1_file = boundary_file_list[undamped_file_count + 2 * pair];
        const boundary_file_entry& b2_file = boundary_file_list[undamped_file_count + 2 * pair + 1];
        if (typed_beta != b1_file.beta) continue;
        std::printf("\n");
        std::printf(program_text().damped_load_lines[0], typed_beta);
        std::fflush(stdout);
        load_or_scan(b1_file, boundary_b1);
        std::printf(program_text().damped_load_lines[1], typed_beta);
        std::fflush(stdout);
        load_or_scan(b2_file, boundary_b2);
    }
    std::fflush(stdout);
}
