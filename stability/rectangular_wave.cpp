// Square-wave characteristic function. With y = exp(-beta t) u each half period becomes
// u'' + (K - beta^2) u = 0, whose transfer matrix has determinant 1; R, half the trace of the
// one-period product, fixes the multipliers, and y has a multiplier +1 (-1) where R equals
// cosh 2 pi beta (minus it).
#include "stability/rectangular_wave.h"

#include <cmath>

#include "state/numbers.h"

namespace {

// pi is the length of each half period, two_pi the period in the damping factor.

// Half trace of the one-period transfer matrix; g1 belongs to the half period with stiffness
// delta + eps, g2 to the other. A negative g oscillates, a positive one grows or decays, zero is a
// linear segment (1, pi; 0, 1). The trace of a product does not depend on the order of the two
// factors, so a pair outside the five cases (it needs eps < 0) is served by swapping g1 and g2.
double half_trace(double g1, double g2) {
    if (g1 < 0.0 && g2 < 0.0) {
        double p = std::sqrt(-g1), q = std::sqrt(-g2);
        return std::cos(p * pi) * std::cos(q * pi) -
               std::sin(q * pi) * std::sin(p * pi) * (p * p + q * q) / ((2.0 * p) * q);
    }
    if (g1 < 0.0 && g2 > 0.0) {
        double p = std::sqrt(-g1), q = std::sqrt(g2);
        return std::cos(p * pi) * std::cosh(q * pi) +
               std::sinh(q * pi) * std::sin(p * pi) * (q * q - p * p) / ((2.0 * p) * q);
    }
    if (g1 > 0.0 && g2 > 0.0) {
        double p = std::sqrt(g1), q = std::sqrt(g2);
        return std::cosh(p * pi) * std::cosh(q * pi) +
               std::sinh(q * pi) * std::sinh(p * pi) * (p * p + q * q) / ((2.0 * p) * q);
    }
    if (g1 == 0.0 && g2 > 0.0) {
        double q = std::sqrt(g2);
        return std::cosh(q * pi) + (q * pi / 2.0) * std::sinh(q * pi);
    }
    if (g1 < 0.0 && g2 == 0.0) {
        double p = std::sqrt(-g1);
        return std::cos(p * pi) - (p * pi / 2.0) * std::sin(p * pi);
    }
    // Two linear segments: half the trace of (1, pi; 0, 1)^2 is 1.
    if (g1 == 0.0 && g2 == 0.0) return 1.0;
    // eps < 0 (g1 > g2) or a NaN: swap the half periods, once.
    if (g1 > g2) return half_trace(g2, g1);
    return NAN;
}

// The same half trace divided by exp(s), s = pi (sqrt g1 + sqrt g2) over the half periods that grow
// (g > 0), so that it stays finite however large beta is; *s is set.
double scaled_half_trace(double g1, double g2, double* s) {
    if (g1 > g2) return scaled_half_trace(g2, g1, s);
    // cosh x / e^x and sinh x / e^x without forming e^x.
    auto ch = [](double x) { return 0.5 * (1.0 + std::exp(-2.0 * x)); };
    auto sh = [](double x) { return -0.5 * std::expm1(-2.0 * x); };
    if (g1 > 0.0) {
        double p = std::sqrt(g1), q = std::sqrt(g2);
        *s = (p + q) * pi;
        return ch(p * pi) * ch(q * pi) +
               sh(q * pi) * sh(p * pi) * (p * p + q * q) / ((2.0 * p) * q);
    }
    if (g2 > 0.0) {
        double q = std::sqrt(g2);
        *s = q * pi;
        if (g1 == 0.0) return ch(q * pi) + (q * pi / 2.0) * sh(q * pi);
        double p = std::sqrt(-g1);
        return std::cos(p * pi) * ch(q * pi) +
               sh(q * pi) * std::sin(p * pi) * (q * q - p * p) / ((2.0 * p) * q);
    }
    *s = 0.0;
    return half_trace(g1, g2);
}

}  // namespace

double rectangular_wave_characteristic(char kind, double beta, double delta, double eps) {
    double g1 = (beta * beta - delta) - eps;
    double g2 = (beta * beta - delta) + eps;
    double r = half_trace(g1, g2);
    double e = std::exp(two_pi * beta);
    double h = (e * e + 1.0) / (2.0 * e);
    double value = kind == 'A' ? r - h : h + r;
    if (std::isfinite(value) || !std::isfinite(g1) || !std::isfinite(g2)) return value;
    // Heavy damping (cosh 2 pi beta beyond the range of doubles from beta = 57) or a steeply
    // growing half period: R and cosh 2 pi beta both divided by exp(s). A positive factor keeps
    // every sign and zero; the exponent 2 pi |beta| - s is formed without cancelling large terms
    // (sqrt(g) - |beta| = (g - beta^2) / (sqrt(g) + |beta|)).
    double s;
    double scaled_r = scaled_half_trace(g1, g2, &s);
    double b = std::fabs(beta), excess = two_pi * b - s;
    if (g1 > 0.0 && g2 > 0.0) {
        double p = std::sqrt(g1), q = std::sqrt(g2);
        excess = -pi * ((g1 - b * b) / (p + b) + (g2 - b * b) / (q + b));
    }
    double scaled_h = 0.5 * std::exp(excess) * (1.0 + std::exp(-2.0 * two_pi * b));
    return kind == 'A' ? scaled_r - scaled_h : scaled_h + scaled_r;
}
