// Right-hand side of y'' + 2 beta y' + K(t) y = 0 and the classical Runge-Kutta-Gill step.
// Gill's coefficients are the short decimals 0.292893219 (1 - 1/sqrt 2), 1.70710678 (1 + 1/sqrt 2)
// and 0.16666667 (1/6), used as they stand: they set the tenth significant digit of a step.
#include "response/equation_of_motion.h"

#include <cmath>
#include <cstdlib>

#include "state/heap.h"
#include "state/program_state.h"

namespace {
constexpr double gill_c1 = 0.292893219;
constexpr double gill_c2 = 1.70710678;
constexpr double gill_c3 = 0.16666667;
}  // namespace

double stiffness(double t) {
    if (system_kind == 'm') return std::cos(t) * epsilon + delta;
    if (system_kind == 'r') {
        // One fold only: callers keep t below two periods.
        double tau = t > full_period ? t - full_period : t;
        return tau < half_period ? delta + epsilon : delta - epsilon;
    }
    // No excitation is defined for another system kind: the unexcited stiffness.
    return delta;
}

double equation_of_motion(int i, double t, const double* x) {
    if (i == 0) return x[1];
    return -two_beta * x[1] - stiffness(t) * x[0];
}

void rkg_step(double t, double h, const double* x_in, double* x_out, int n) {
    double* s1 = static_cast<double*>(zero_alloc(n, sizeof(double)));
    double* s2 = static_cast<double*>(zero_alloc(n, sizeof(double)));
    double* s3 = static_cast<double*>(zero_alloc(n, sizeof(double)));
    double* q1 = static_cast<double*>(zero_alloc(n, sizeof(double)));
    double* q2 = static_cast<double*>(zero_alloc(n, sizeof(double)));
    double* q3 = static_cast<double*>(zero_alloc(n, sizeof(double)));

    // Each stage completes its whole vector before the next, since the velocity's derivative reads
    // both components. The accumulators q carry Gill's rounding compensation within this step only.
    for (int i = 0; i < n; ++i) {
        double k = h * equation_of_motion(i, t, x_in);
        double r = 0.5 * k;
        s1[i] = x_in[i] + r;
        q1[i] = 3.0 * r - 0.5 * k;
    }
    double t_half = t + 0.5 * h;
    for (int i = 0; i < n; ++i) {
        double k = h * equation_of_motion(i, t_half, s1);
        double r = gill_c1 * (k - q1[i]);
        s2[i] = s1[i] + r;
        q2[i] = q1[i] + 3.0 * r - gill_c1 * k;
    }
    for (int i = 0; i < n; ++i) {
        double k = h * equation_of_motion(i, t_half, s2);
        double r = gill_c2 * (k - q2[i]);
        s3[i] = s2[i] + r;
        q3[i] = q2[i] + 3.0 * r - gill_c2 * k;
    }
    double t_end = t + h;
    for (int i = 0; i < n; ++i) {
        double k = h * equation_of_motion(i, t_end, s3);
        double r = gill_c3 * (k - 2.0 * q3[i]);
        x_out[i] = s3[i] + r;
    }

    std::free(s1);
    std::free(s2);
    std::free(s3);
    std::free(q1);
    std::free(q2);
    std::free(q3);
}
