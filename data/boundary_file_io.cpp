// Reading and writing one boundary file. The reader checks the whole file in a scratch table
// before it touches the destination, so a damaged file never leaves a half-replaced table; the
// writer puts a file in place only once all of it is on disk.
#include "data/boundary_files.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/file_replace.h"
#include "data/regular_file.h"
#include "stability/boundary_scan.h"

namespace {

// Longest number token accepted. A written field is 10 characters; a longer token is still read
// if it fits here (a hand-edited file with extra digits), anything longer makes the file unusable.
constexpr int token_capacity = 128;

// Room for any double printed with "%.6f" (at most 309 digits before the point).
constexpr int six_decimals_capacity = 400;

// The white space of the C locale, which separates numbers ("\r" included, so CRLF files read
// like LF files). Fixed here so that a locale set by the program cannot change the file format.
bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next white-space separated token into text (NUL-terminated). Returns its length,
// 0 at the end of the file, -1 for a token too long or holding a NUL byte (never a number).
int next_token(FILE* file, char (&text)[token_capacity]) {
    int c = getc(file);
    while (c != EOF && is_blank(c)) c = getc(file);
    int length = 0;
    while (c != EOF && !is_blank(c)) {
        if (c == '\0' || length == token_capacity - 1) return -1;
        text[length++] = static_cast<char>(c);
        c = getc(file);
    }
    text[length] = '\0';
    return length;
}

// A real number: the whole token must be one strtod number (the conversion "%lf" makes), and
// finite. Infinity, NaN and overflow to infinity are refused: no boundary lies there.
bool read_real(FILE* file, double* value) {
    char text[token_capacity];
    const int length = next_token(file, text);
    if (length <= 0) return false;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end != text + length || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

// A root count: the whole token must be a decimal integer (the conversion "%d" makes) in
// 0 ... 9. A token such as "3.5" is refused rather than read as 3 followed by ".5", which is
// how "%d" and "%lf" would split it: a count with a fraction means the columns are out of step.
bool read_count(FILE* file, int* value) {
    char text[token_capacity];
    const int length = next_token(file, text);
    if (length <= 0) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end != text + length || errno != 0) return false;
    if (parsed < 0 || parsed > max_roots_per_column) return false;
    *value = static_cast<int>(parsed);
    return true;
}

// Whether two numbers are the same once printed with six decimals, as a file holds them (-0 and 0
// count as the same).
bool same_at_six_decimals(double x, double y) {
    char x_text[six_decimals_capacity], y_text[six_decimals_capacity];
    std::snprintf(x_text, sizeof x_text, "%.6f", x);
    std::snprintf(y_text, sizeof y_text, "%.6f", y);
    return std::strtod(x_text, nullptr) == std::strtod(y_text, nullptr);
}

// Row 0 of column i holds the column's epsilon, i * 0.02; anything else means the columns are out
// of place.
bool epsilon_in_place(double value, int i) {
    return same_at_six_decimals(value, i * epsilon_spacing);
}

// Reads a whole file into scratch; true only if every check passes.
bool read_checked(FILE* file, int n, double* file_beta, boundary_table& scratch) {
    if (!read_real(file, file_beta)) return false;
    for (int i = 0; i <= n; ++i) {
        if (!read_count(file, &scratch.counts[i])) return false;
        for (int j = 0; j <= scratch.counts[i]; ++j)
            if (!read_real(file, &scratch.points[j][i])) return false;
        if (!epsilon_in_place(scratch.points[0][i], i)) return false;
    }
    char text[token_capacity];
    return next_token(file, text) == 0 && !ferror(file);
}

// The fields of a column line carry no separator of their own: a value is readable only if its
// "%10.6f" field starts with a blank, that is if it is finite and rounds to -9.999999 ... 99.999999
// (epsilon 0 ... 30 and the delta range -1 ... 10 always do).
bool field_is_separated(double value) {
    char field[64];
    return std::isfinite(value) && std::snprintf(field, sizeof field, "%10.6f", value) == 10 &&
           field[0] == ' ';
}

bool table_is_writable(int n, const int* counts, const double (*points)[boundary_columns]) {
    if (n < 0 || n >= boundary_columns) return false;
    for (int i = 0; i <= n; ++i) {
        if (counts[i] < 0 || counts[i] > max_roots_per_column) return false;
        if (!epsilon_in_place(points[0][i], i)) return false;
        for (int j = 0; j <= counts[i]; ++j)
            if (!field_is_separated(points[j][i])) return false;
    }
    return true;
}

// The text of the file. Returns false if any output failed.
bool print_table(FILE* file, double beta, int n, const int* counts,
                 const double (*points)[boundary_columns]) {
    bool ok = std::fprintf(file, "%10.6f\n", beta) >= 0;
    for (int i = 0; i <= n && ok; ++i) {
        ok = std::fprintf(file, "%3d", counts[i]) >= 0;
        for (int j = 0; j <= counts[i] && ok; ++j)
            ok = std::fprintf(file, "%10.6f", points[j][i]) >= 0;
        ok = ok && std::fputc('\n', file) != EOF;
    }
    return ok;
}

// The reader, with the beta line checked against *expected_beta unless that is null.
bool read_file(const char* file_name, const double* expected_beta, int n, int* counts,
               double (*points)[boundary_columns], double* file_beta) {
    if (n < 0 || n >= boundary_columns) {
        errno = 0;
        return false;
    }
    FILE* file = open_regular_file(file_name);
    if (file == nullptr) return false;
    // About 126 kB on the stack; only columns 0 ... n and rows 0 ... count are ever filled or read.
    boundary_table scratch;
    double read_beta = 0.0;
    bool valid = read_checked(file, n, &read_beta, scratch);
    std::fclose(file);
    valid = valid && (expected_beta == nullptr || same_at_six_decimals(read_beta, *expected_beta));
    if (!valid) {
        errno = 0;
        return false;
    }

    for (int i = 0; i <= n; ++i) {
        counts[i] = scratch.counts[i];
        for (int j = 0; j <= scratch.counts[i]; ++j) points[j][i] = scratch.points[j][i];
    }
    *file_beta = read_beta;
    return true;
}

}  // namespace

bool boundary_beta_is_writable(double beta) {
    char field[six_decimals_capacity];
    const int length = std::snprintf(field, sizeof field, "%10.6f", beta);
    return std::isfinite(beta) && length > 0 && length < token_capacity;
}

namespace {

// One line per root, column by column: epsilon and the root, to the six decimals of a table file.
bool print_csv(FILE* out, int n, const int* counts, const double (*points)[boundary_columns]) {
    if (std::fputs("epsilon,delta\n", out) < 0) return false;
    for (int i = 0; i <= n; ++i)
        for (int j = 1; j <= counts[i]; ++j)
            if (std::fprintf(out, "%.6f,%.6f\n", points[0][i], points[j][i]) < 0) return false;
    return true;
}

// Replaces file_name with what print writes, complete or not at all.
template <typename Printer>
boundary_write_result replace_with(const char* file_name, Printer print) {
    if (!is_replaceable(file_name)) return boundary_target_not_regular;
    file_replacement replacement;
    if (!begin_replacement(file_name, &replacement)) return boundary_create_failed;
    const bool printed = print(replacement.file);
    switch (finish_replacement(&replacement, printed)) {
        case replacement_done: break;
        case replacement_write_failed: return boundary_write_failed;
        case replacement_create_failed: return boundary_create_failed;
    }
    return boundary_written;
}

}  // namespace

boundary_write_result write_boundary_file(const char* file_name, double beta, int n,
                                          const int* counts,
                                          const double (*points)[boundary_columns]) {
    if (!boundary_beta_is_writable(beta) || !table_is_writable(n, counts, points))
        return boundary_table_invalid;
    return replace_with(file_name,
                        [&](FILE* out) { return print_table(out, beta, n, counts, points); });
}

boundary_write_result write_boundary_csv(const char* file_name, int n, const int* counts,
                                         const double (*points)[boundary_columns]) {
    if (!table_is_writable(n, counts, points)) return boundary_table_invalid;
    return replace_with(file_name, [&](FILE* out) { return print_csv(out, n, counts, points); });
}

bool read_boundary_file(const char* file_name, int n, int* counts,
                        double (*points)[boundary_columns], double* file_beta) {
    return read_file(file_name, nullptr, n, counts, points, file_beta);
}

bool read_stored_boundary_file(const boundary_file_entry& file, int n, int* counts,
                               double (*points)[boundary_columns], double* file_beta) {
    return read_file(file.name, &file.beta, n, counts, points, file_beta);
}
