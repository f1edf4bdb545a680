// Determinant of a small dense matrix by Gaussian elimination with partial pivoting;
// the innermost routine of the Hill determinants. Keeps no state between calls.
#pragma once

// Determinant of the leading n x n block of the row-major matrix a (element (i, j) at
// a[i * row_stride + j], row_stride >= n, n >= 1). Rows are exchanged through an index vector and
// the sign is taken from its parity; the result is the signed product of the pivots, accumulated
// from the left. A zero pivot before the last column gives NaN (0/0 multipliers), one in the last
// column a signed zero. Scratch buffers are allocated per call; an exhausted heap ends the
// process with "memory overflow".
double determinant(int n, const double* a, int row_stride);
