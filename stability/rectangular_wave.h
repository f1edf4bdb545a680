// Characteristic function of the square-wave excitation, K = delta + eps on the first half period
// pi and delta - eps on the second, from the half trace of the one-period transfer matrix.
#pragma once

// kind 'A': zero where a solution of period T = 2 pi exists (R - cosh 2 pi beta);
// kind 'B': zero where a solution of period 2T exists (R + cosh 2 pi beta).
// Any other kind is treated as 'B'. At g1 = g2 = 0 (eps = 0, delta = beta^2) R is the linear-segment
// limit 1; for eps < 0 the two half periods swap roles, which leaves the trace unchanged.
double rectangular_wave_characteristic(char kind, double beta, double delta, double eps);
