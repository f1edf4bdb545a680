// Hill determinants by a banded elimination: the matrices are filled straight from beta, delta and
// eps into band storage and eliminated in a window of a few rows, with the pivots, multipliers and
// updates of the dense elimination, so every value equals hill_dc1 ... hill_b2 bit for bit.
#pragma once

// Value of the Hill determinant of kind '1' ... '6' (Dc1, Ds1, Dc2, Ds2, B1, B2; beta is used by
// '5' and '6' only), equal to what hill_dc1 ... hill_b2 return for the same arguments, including
// NaN, infinities and signed zeros. Where the band cannot reproduce the dense elimination (an input
// that is not finite, a pivot that is zero or not finite, an entry or multiplier that overflows),
// the dense function of the kind computes the value instead. NaN for any other kind.
double hill_banded(char kind, double beta, double delta, double eps);

// The most values one call of hill_banded_batch computes together.
constexpr int hill_batch_size = 4;

// hill_banded at count (1 ... hill_batch_size) values of delta, into values[0 ... count - 1], bit
// for bit as separate calls. B1 and B2 eliminate two or four matrices in one interleaved pass,
// which keeps the processor busy while each waits on its chain of divisions.
void hill_banded_batch(char kind, double beta, const double* delta, int count, double eps,
                       double* values);
