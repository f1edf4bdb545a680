// Boundary files: one boundary table per text file, the damping of its scan on line 1, then one
// line per epsilon column (count, epsilon, roots). The loader fills the tables of a tabled damping
// from 22 files of fixed name in the current folder and scans any table whose file is unusable.
#pragma once

#include "stability/boundary_scan.h"
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

// Outcome of writing one boundary file. On boundary_create_failed and boundary_write_failed,
// errno tells why.
enum boundary_write_result {
    boundary_written,             // the complete file is in place under its name
    boundary_create_failed,       // the file could not be created or put in place (folder missing,
                                  // not writable, name too long)
    boundary_write_failed,        // writing the data failed (disk full, file size limit, I/O error)
    boundary_table_invalid,       // n outside 0 ... 1500, a count outside 0 ... 9, an epsilon that
                                  // is not its column's, a value that is not finite, a value whose
                                  // field would run into the one before it (outside -9.999999 ...
                                  // 99.999999), or a beta the reader would refuse: such a table
                                  // could not be read back, so none is written
    boundary_target_not_regular,  // the name exists and is not a regular file (a device, a FIFO,
                                  // a socket, a folder); it is left as it is
};

// Whether beta can stand on a file's first line: finite, and its "%10.6f" field short enough for
// the reader (|beta| below about 1e120).
bool boundary_beta_is_writable(double beta);

// Writes columns 0 ... n of a table with the damping beta: "%10.6f\n" for beta, then per column
// "%3d" for the count, "%10.6f" for epsilon and each root, "\n". The text goes to a fresh file
// that takes file_name only when complete, so a failed write never leaves a truncated file under
// that name, nor the fresh one. A symbolic link is followed (the file it points to is replaced,
// the link stays), and an existing file keeps its permission bits.
boundary_write_result write_boundary_file(const char* file_name, double beta, int n,
                                          const int* counts,
                                          const double (*points)[boundary_columns]);

// Writes the roots of columns 0 ... n as CSV: the line "epsilon,delta", then one line per root,
// column by column in ascending delta, both to six decimals (the numbers of the table's file).
// Complete or not at all, and the same checks and results as write_boundary_file.
boundary_write_result write_boundary_csv(const char* file_name, int n, const int* counts,
                                         const double (*points)[boundary_columns]);

// Reads a boundary file of n + 1 columns (0 <= n <= 1500) into counts and points, and its first
// number, the damping of its scan, into *file_beta. The whole file is read and checked first; only
// a regular file that opens, starts with a finite beta, holds n + 1 columns each with a count
// 0 ... 9 followed by count + 1 finite numbers, the first of them the column's epsilon i * 0.02
// (to the six decimals a file holds), and has nothing but white space after them replaces columns
// 0 ... n (rows 0 ... count of each). Rows above a column's count and columns above n keep their
// values. Returns whether the file was taken; on false neither the table nor *file_beta has been
// touched, and errno is the reason the file could not be opened (ENOENT, EACCES, ...), or 0 when it
// is not a regular file or does not hold a valid table. A FIFO or a device is never waited for.
// Numbers are white-space separated tokens (a carriage return is white space).
bool read_boundary_file(const char* file_name, int n, int* counts,
                        double (*points)[boundary_columns], double* file_beta);

// Reads one of the stored tables as read_boundary_file does, and takes it only if its beta line is
// the entry's beta to six decimals: a file of another damping is a damaged file.
bool read_stored_boundary_file(const boundary_file_entry& file, int n, int* counts,
                               double (*points)[boundary_columns], double* file_beta);

// Scans one table (kind, beta, columns 0 ... n) with the characteristic function d and writes it
// to path as write_boundary_file does.
boundary_write_result generate_boundary_file(const char* path, char kind, double beta, int n,
                                             characteristic_function d = characteristic_value);

// Loads the stored tables for a tabled damping beta (compared exactly with 0 and the nine values
// above), with n = epsilon_steps, printing the progress lines on standard output: for 0 the four
// undamped tables, for the others boundary_b1 and boundary_b2. A file that is missing or unusable
// is reported and its table computed by boundary_scan instead. The global beta ends as the beta of
// the last file actually read; two_beta and the tables that beta does not name are not touched.
// Any other beta loads and prints nothing.
void load_boundary_files(double beta);
