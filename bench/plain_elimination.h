// The reference for the speed of the Hill evaluation: the dense matrix of each kind, filled as the
// program fills it, and Gaussian elimination with partial pivoting exactly as written out, every
// row updated in every column, with its buffers allocated on each call (tests/plain_determinant.h).
#pragma once

// characteristic_value with every Hill kind ('1' ... '6') computed by the plain elimination on the
// kind's dense matrix; the square wave ('A', 'B') as characteristic_value computes it.
double plain_characteristic(char kind, double beta, double delta, double eps);
