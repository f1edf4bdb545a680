// Boundary files: one boundary table per text file, the damping of its scan on line 1, then one
// line per epsilon column (count, epsilon, roots). The loader fills the tables of a tabled damping
// from 22 files of fixed name in the current folder and scans any table whose file is unusable.
#pragma once

#include "state/boundary_table.h"
#include "state/numbers.h"

// Number of stored tables: the four undamped curves and B1, B2 for nine damping values.
constexpr int boundary_file_count = 22;

// One stored table: its bare file name and the scan that produces it.
struct boundary_file_entry {
    const char* name;  // opened in the current folder, e.g. "fileb1005"
    char kind;         // determinant kind: '1' ... '4' undamped, '5' B1, '6' B2
    double beta;       // damping of the scan, written on the file's first line
};

// The 22 stored tables in the order the loader reads them: "filedc1", "fileds1", "filedc2",
// "fileds2" at beta 0, then "fileb1xxx", "fileb2xxx" for beta 0.01, 0.02, 0.05, 0.1, 0.2, 0.5,
// 1.0, 2.0, 5.0 (xxx = 100 beta in three digits).
extern const boundary_file_entry boundary_file_list[boundary_file_count];

// Outcome of writing one boundary file.
enum boundary_write_result {
    boundary_written,        // the complete file is in place under its name
    boundary_create_failed,  // the file could not be created or put in place (folder missing,
                             // not writable, name is a folder, name too long)
    boundary_write_failed,   // writing the data failed (disk full, file size limit, I/O error)
    boundary_table_invalid,  // n outside 0 ... 1500, a count outside 0 ... 9, a beta or value
                             // that is not finite, or a value whose field would run into the one
                             // before it (outside -9.999999 ... 99.999999): such a table could
                             // not be read back, so none is written
};

// Writes columns 0 ... n of a table with the damping beta: "%10.6f\n" for beta, then per column
// "%3d" for the count, "%10.6f" for epsilon and each root, "\n". The text goes to a fresh file
// beside file_name that is renamed to file_name only when complete, so a failed write never leaves
// a truncated file under that name (nor the temporary one).
boundary_write_result write_boundary_file(const char* file_name, double beta, int n,
                                          const int* counts,
                                          const double (*points)[boundary_columns]);

// Reads a boundary file of n + 1 columns (0 <= n <= 1500) into counts and points, and its first
// number, the damping of its scan, into *file_beta. The whole file is read and checked first; only a file that
// opens, starts with a finite beta, holds n + 1 columns each with a count 0 ... 9 followed by
// count + 1 finite numbers, and has nothing but white space after them replaces columns 0 ... n
// (rows 0 ... count of each). Rows above a column's count and columns above n keep their values.
// Returns whether the file was taken; on false neither the table nor *file_beta has been touched.
// Numbers are white-space separated tokens (a carriage return is white space).
bool read_boundary_file(const char* file_name, int n, int* counts,
                        double (*points)[boundary_columns], double* file_beta);

// Scans one table (kind, beta, columns 0 ... n) and writes it to path as write_boundary_file does.
boundary_write_result generate_boundary_file(const char* path, char kind, double beta, int n);

// Loads the stored tables for a tabled damping beta (compared exactly with 0 and the nine values
// above), with n = epsilon_steps, printing the progress lines on standard output: for 0 the four
// undamped tables, for the others boundary_b1 and boundary_b2. A file that is missing or unusable
// is reported and its table computed by boundary_scan instead. The global beta ends as the beta of
// the last file actually read; two_beta and the tables that beta does not name are not touched.
// Any other beta loads and prints nothing.
void load_boundary_files(double beta);
