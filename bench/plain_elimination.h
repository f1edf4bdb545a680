// The reference for the speed of the Hill evaluation: the dense matrix of each kind, filled as the
// program fills it, and Gaussian elimination with partial pivoting exactly as written out, every
// row updated in every column, with its buffers allocated on each call.
#pragma once

// Determinant of the leading n x n block of the row-major matrix a (row stride row_stride): a
// private copy, rows exchanged through an index vector, the sign from the parity of the final row
// order, the product of the pivots from the left.
double plain_determinant(int n, const double* a, int row_stride);

// characteristic_value with every Hill kind ('1' ... '6') computed by plain_determinant on the
// kind's dense matrix; the square wave ('A', 'B') as characteristic_value computes it.
double plain_characteristic(char kind, double beta, double delta, double eps);
