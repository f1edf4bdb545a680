// Boundary scan: turns one characteristic function into a boundary table by walking delta from
// -1 to 10 at each epsilon of the grid 0, 0.02, ... and refining every sign change by false position.
#pragma once

#include "state/boundary_table.h"

constexpr double epsilon_spacing = 0.02;  // epsilon of column i is i * 0.02
constexpr double root_tolerance = 1e-6;   // |D(root) / D(reference)| below this accepts a root
constexpr int root_list_size = 10;
// False position ends by itself on every table the program uses (at most a few hundred steps per
// root); this bound only guards against a function that never meets the tolerance.
constexpr int max_false_position_steps = 10000;

// Characteristic value D(beta, delta, eps) of one determinant kind:
// '1' ... '4' Dc1, Ds1, Dc2, Ds2 (beta not used); '5', '6' B1, B2; 'A', 'B' the square wave.
// NaN for any other kind.
double characteristic_value(char kind, double beta, double delta, double eps);

// A characteristic function with the signature of characteristic_value. The searches below take
// one, so that a benchmark or a test can count or replace the evaluations; the program always
// passes characteristic_value, with which they evaluate B1 and B2 at up to four walk points per call
// (the same values, in fewer steps of the processor).
using characteristic_function = double (*)(char kind, double beta, double delta, double eps);

// Roots in delta of one kind at fixed eps, ascending, into roots[0 ...]; returns their number.
// At most max_roots_per_column (9) are recorded; the search ends at the ninth.
int delta_root_search(char kind, double beta, double* roots, double eps,
                      characteristic_function d = characteristic_value);

// Scans columns 0 ... n (n + 1 columns) into counts and points of a boundary table; a column
// without roots gets count 0 and the no-root marker in row 1. Rows above a column's count and
// columns above n are left as they were.
void boundary_scan(char kind, double beta, int* counts, double (*points)[boundary_columns], int n,
                   characteristic_function d = characteristic_value);
