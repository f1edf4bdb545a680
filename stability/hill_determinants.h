// Truncated Hill determinants of the damped Mathieu equation y'' + 2 beta y' + (delta + eps cos t) y = 0.
// Each vanishes where the equation has a periodic solution of period 2 pi or 4 pi, so its zeros
// in delta at fixed epsilon are the stability boundaries.
#pragma once

// Harmonics kept per characteristic function (one per kind '1' ... '6'); all ten.
constexpr int hill_order_dc1 = 10;
constexpr int hill_order_ds1 = 10;
constexpr int hill_order_dc2 = 10;
constexpr int hill_order_ds2 = 10;
constexpr int hill_order_b1 = 10;
constexpr int hill_order_b2 = 10;

// Each kind builds its matrix in its own 30 x 30 storage (row stride 30), one per thread.
constexpr int hill_storage_order = 30;

// Undamped determinants (beta = 0), order 10: period 2 pi cosines (constant term included) and
// sines, period 4 pi half-odd cosines and sines.
double hill_dc1(double delta, double eps);
double hill_ds1(double delta, double eps);
double hill_dc2(double delta, double eps);
double hill_ds2(double delta, double eps);

// Damped determinants: B1 (period 2 pi, order 21) and B2 (period 4 pi, order 20).
double hill_b1(double beta, double delta, double eps);
double hill_b2(double beta, double delta, double eps);

// Fills the matrix of kind '1' ... '6' for (beta, delta, eps) into that kind's storage, exactly as
// the functions above do, and returns its order (0 for another kind, whose storage is untouched);
// for eliminating the same matrix another way.
int hill_matrix(char kind, double beta, double delta, double eps);

// The matrix of the latest evaluation of a kind ('1' ... '6') on the calling thread (each thread
// has its own storage), row stride 30, or nullptr for another kind; for checking an evaluation
// against an independent elimination.
const double* hill_storage(char kind);
