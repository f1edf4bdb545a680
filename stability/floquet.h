// Floquet analysis of y'' + 2 beta y' + K(t) y = 0 over one period 2 pi of the excitation: the
// monodromy matrix, its multipliers, the stability verdict and the two boundary functions. A time
// integration (Mathieu) and a closed-form product (square wave), sharing nothing with the Hill
// determinants, so each can check the other. pi is the program's pi of state/numbers.h: the
// square wave switches at t = pi, and the monodromy spans 2 pi.
#pragma once

// Terms of the Taylor series per integration step, and the step: h keeps rho h <= 3, where
// rho = |beta| + sqrt(|beta^2 - delta| + |eps|) is the fastest rate at which a solution grows,
// decays or turns, and h <= pi / 4 (at least 4 steps per half period). Over beta 0 ... 5,
// delta -1 ... 10, eps 0 ... 10 the monodromy then differs from one integrated with a third of
// the step by at most 1e-11 of its largest entry (28 terms would give 1e-9).
constexpr int floquet_taylor_terms = 32;
constexpr double floquet_rate_step = 3.0;
constexpr int floquet_min_steps_per_half = 4;

// Beyond this many Taylor steps per half period (|delta - beta^2| + |eps| above about 190^2, which
// the chart meets at beta above about 190) the monodromy takes floquet_magnus_steps steps of a
// fourth-order Magnus method instead, whatever beta: bounded work, and the growth of the undamped
// solutions carried as a logarithm. Its error in the largest |mu| is about 1e-10 (beta 190 ... 300,
// eps 10) and falls as beta grows.
constexpr int floquet_max_taylor_steps = 200;
constexpr int floquet_magnus_steps = 256;

// Undamped multipliers lie on the unit circle; the integration leaves |mu| within ~1e-10 of 1 there
// and near a double multiplier +-1 within its square root. A largest |mu| up to 1 + 1e-6 counts as
// stable: a point is called unstable only where some solution grows by a factor of at least
// 1 + 1e-6 per period.
constexpr double floquet_stability_tolerance = 1e-6;

// Transfer matrix of the state (y, y'): column 0 is the solution y1 with y(0) = 1, y'(0) = 0,
// column 1 the solution y2 with y(0) = 0, y'(0) = 1; a[0][c] is y, a[1][c] is y' at the end.
struct transfer_matrix {
    double a[2][2];
};

// Multipliers mu1 = re[0] + i im[0] and mu2 = re[1] + i im[1] (eigenvalues of the monodromy
// matrix), |mu1| >= |mu2|. A real pair has im[0] = im[1] = 0; a complex pair has re[0] = re[1]
// and im[0] = -im[1] > 0.
struct floquet_multipliers {
    double re[2];
    double im[2];
};

// Monodromy matrix over [0, 2 pi] of system 'm' (Mathieu, K = delta + eps cos t) or 'r' (square
// wave, K = delta + eps on [0, pi), delta - eps on [pi, 2 pi)). Mathieu: y = exp(-beta t) u turns
// the equation into the undamped one with delta - beta^2, whose stiffness is even in t, so the
// integration of u over the half period [0, pi] gives the whole period; accurate to about 1e-10
// of the matrix's largest entry for |beta| <= 5, -1 <= delta <= 10, |eps| <= 10, and finite at any
// finite beta there: u's growth e^(beta pi) is scaled out and joined with the decay e^(-2 pi beta).
// Square wave: the product of the two half-period matrices in closed form, the damping carried
// inside the exponentials where cosh alone would overflow. Another system gives NaN entries.
transfer_matrix floquet_monodromy(char system, double beta, double delta, double eps);

// Transfer matrix over the first half period [0, pi] (K = delta + eps cos t, or delta + eps). For
// the undamped Mathieu equation, whose stiffness is even in t, its entries at pi give the
// boundaries of single parity: y1'(pi) = 0 (period T, even), y2(pi) = 0 (period T, odd),
// y1(pi) = 0 (period 2T, even), y2'(pi) = 0 (period 2T, odd).
transfer_matrix floquet_half_period(char system, double beta, double delta, double eps);

// Undamped Mathieu half-period matrices at count values of delta for one eps: out[i] is exactly
// floquet_half_period('m', 0.0, delta[i], eps), bit for bit; neighbouring values that take the
// same step count are integrated eight at a time, side by side, which costs each a fraction of
// an integration of its own (the bench's verify_grid figures).
void floquet_half_periods(double eps, const double* delta, int count, transfer_matrix* out);

// The Mathieu monodromy at damping beta from half = floquet_half_period('m', 0.0, delta -
// beta * beta, eps): exactly floquet_monodromy('m', beta, delta, eps) wherever
// floquet_steps_per_half(0.0, delta - beta * beta, eps) <= floquet_max_taylor_steps, so that
// tables of several dampings can share one set of half-period matrices.
transfer_matrix floquet_monodromy_of_half(double beta, const transfer_matrix& half);

// The integration itself: fixed steps of pi / steps_per_half (steps_per_half >= 1) over
// half_periods (1 or 2) half periods, each step a Taylor series of floquet_taylor_terms terms of
// both fundamental solutions, with the exact Taylor coefficients of cos t (system 'm') or the
// constant stiffness of the half period (system 'r', so a step never spans the switch at pi).
// Exposed for the accuracy checks by step halving and against the square wave's closed form.
transfer_matrix floquet_integrate(char system, double beta, double delta, double eps,
                                  int half_periods, int steps_per_half);

// Steps per half period that floquet_monodromy and floquet_half_period use for the Mathieu
// equation at these parameters (see floquet_rate_step).
int floquet_steps_per_half(double beta, double delta, double eps);

// Eigenvalues of m, from its trace and determinant; the larger one of a real pair is taken without
// cancellation and the other as det / mu1.
floquet_multipliers floquet_multipliers_of(const transfer_matrix& m);

// Largest |mu|: sqrt(det m) for a complex pair, |mu1| for a real one.
double floquet_max_modulus(const transfer_matrix& m);

// Stable when the largest |mu| is at most 1 + floquet_stability_tolerance; false for NaN.
bool floquet_is_stable(const transfer_matrix& m);

// P_T = det(m - I) = 1 - tr m + det m: zero where a solution of period T = 2 pi exists (mu = +1).
double floquet_p_t(const transfer_matrix& m);

// P_2T = det(m + I) = 1 + tr m + det m: zero where a solution of period 2T exists (mu = -1).
double floquet_p_2t(const transfer_matrix& m);
