// Checks of one boundary-file read against a pristine table and against a reference reader
// built from plain formatted input, the conversions the file format is defined by.
#include "boundary_file_check.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/boundary_files.h"
#include "state/program_state.h"

namespace {

// beta before every read; no file can hold it by accident and a refused read must keep it.
constexpr double beta_sentinel = -12345.678;

// The table under test and its state before the read (126 kB each, so not on the stack).
boundary_table table;
boundary_table pristine;

void fill_pattern(boundary_table& table) {
    for (int i = 0; i < boundary_columns; ++i) {
        table.counts[i] = 77;
        for (int j = 0; j < boundary_rows; ++j)
            table.points[j][i] = 1000.0 + 10.0 * j + i / 10000.0;
    }
}

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The reference: "%lf" for beta and each value, "%d" for each count, then nothing but white
// space. Used only on files the checked reader accepted, so the counts are known to be 0 ... 9.
const char* compare_with_formatted_read(const char* path) {
    FILE* file = std::fopen(path, "rt");
    if (file == nullptr) return "accepted file cannot be reopened";
    const char* failure = nullptr;
    double value = 0.0;
    if (std::fscanf(file, "%lf", &value) != 1 || !same_double(value, beta))
        failure = "beta differs from %lf";
    for (int i = 0; i <= fuzz_intervals && failure == nullptr; ++i) {
        int count = -1;
        if (std::fscanf(file, "%d", &count) != 1 || count != table.counts[i])
            failure = "count differs from %d";
        for (int j = 0; j <= table.counts[i] && failure == nullptr; ++j)
            if (std::fscanf(file, "%lf", &value) != 1 || !same_double(value, table.points[j][i]))
                failure = "value differs from %lf";
    }
    char rest = 0;
    if (failure == nullptr && std::fscanf(file, " %c", &rest) != EOF)
        failure = "accepted data after the table";
    std::fclose(file);
    return failure;
}

}  // namespace

const char* check_boundary_file(const char* path, bool* accepted) {
    fill_pattern(pristine);
    table = pristine;
    beta = beta_sentinel;

    *accepted = read_boundary_file(path, fuzz_intervals, table.counts, table.points, &beta);
    if (!*accepted) {
        if (std::memcmp(&table, &pristine, sizeof table) != 0)
            return "refused file changed the table";
        if (!same_double(beta, beta_sentinel)) return "refused file changed beta";
        return nullptr;
    }
    if (!std::isfinite(beta)) return "accepted beta is not finite";
    for (int i = 0; i < boundary_columns; ++i) {
        const bool read_column = i <= fuzz_intervals;
        if (read_column && (table.counts[i] < 0 || table.counts[i] > max_roots_per_column))
            return "accepted count outside 0 ... 9";
        if (!read_column && table.counts[i] != pristine.counts[i]) return "count above n changed";
        for (int j = 0; j < boundary_rows; ++j) {
            const bool read_cell = read_column && j <= table.counts[i];
            if (read_cell && !std::isfinite(table.points[j][i]))
                return "accepted value is not finite";
            if (read_cell && j == 0 && std::fabs(table.points[0][i] - i * 0.02) > 1e-6)
                return "accepted epsilon is not its column's";
            if (!read_cell && !same_double(table.points[j][i], pristine.points[j][i]))
                return "cell outside the read columns and rows changed";
        }
    }
    return compare_with_formatted_read(path);
}
