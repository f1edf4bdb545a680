// Square-wave characteristic function: the closed form of the transfer matrices on one table of
// points, continuity of the linear-segment cases, the symmetry of the half periods, the reference
// roots at beta = 0.1, eps = 1 and the period-T boundary under heavy damping.
#include "stability/rectangular_wave.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979;

TEST(RectangularWave, LinearSegmentCasesAreLimitsOfTheirNeighbours) {
    struct limit_case {
        const char* name;
        double beta, delta, eps;
    };
    const limit_case cases[] = {
        {"g1 = 0, other half decays (delta = beta^2 - eps)", 0.0, -1.0, 1.0},
        {"g2 = 0, other half oscillates (delta = beta^2 + eps)", 0.0, 1.0, 1.0},
        {"g2 = 0 with damping", 0.5, 0.25 + 0.75, 0.75},
        {"both halves linear (eps = 0, delta = beta^2)", 0.0, 0.0, 0.0},
        {"both halves linear with damping", 0.5, 0.25, 0.0},
        {"both halves linear, heavy damping", 2.0, 4.0, 0.0},
    };
    for (const limit_case& c : cases) {
        SCOPED_TRACE(c.name);
        for (char kind : {'A', 'B'}) {
            double at = rectangular_wave_characteristic(kind, c.beta, c.delta, c.eps);
            double below = rectangular_wave_characteristic(kind, c.beta, c.delta - 1e-9, c.eps);
            double above = rectangular_wave_characteristic(kind, c.beta, c.delta + 1e-9, c.eps);
            EXPECT_NEAR(at, below, 1e-6);
            EXPECT_NEAR(at, above, 1e-6);
        }
    }
}

TEST(RectangularWave, NegativeExcitationSwapsTheHalfPeriods) {
    // The trace of a product of two transfer matrices does not depend on their order.
    for (double delta : {-0.5, 0.3, 1.1, 4.0})
        for (double eps : {0.2, 1.0, 3.0}) {
            for (char kind : {'A', 'B'}) {
                double plus = rectangular_wave_characteristic(kind, 0.1, delta, eps);
                double minus = rectangular_wave_characteristic(kind, 0.1, delta, -eps);
                EXPECT_TRUE(std::isfinite(minus));
                EXPECT_NEAR(minus, plus, 1e-12 * (1.0 + std::fabs(plus)));
            }
        }
}

// Transfer matrix over half a period pi of u'' + w u = 0, row-major.
void half_period(double w, double m[4]) {
    const double s = std::sqrt(std::fabs(w));
    if (w > 0) {
        m[0] = m[3] = std::cos(s * pi), m[1] = std::sin(s * pi) / s, m[2] = -s * std::sin(s * pi);
    } else if (w < 0) {
        m[0] = m[3] = std::cosh(s * pi), m[1] = std::sinh(s * pi) / s, m[2] = s * std::sinh(s * pi);
    } else {
        m[0] = m[3] = 1.0, m[1] = pi, m[2] = 0.0;
    }
}

// The points of the closed form: a grid over both oscillating, mixed and both growing half
// periods; the unexcited undamped system, R = cos(2 pi sqrt delta) (its period-2T boundaries touch
// zero at delta = (k + 1/2)^2); A and B at one point over several dampings, 2 cosh 2 pi beta
// apart; and both halves linear (eps = 0, delta = beta^2, R = 1).
std::vector<std::array<double, 3>> closed_form_points() {
    std::vector<std::array<double, 3>> points;
    for (double beta : {0.0, 0.1, 0.7})
        for (double delta : {-0.9, 0.3, 1.7, 4.4, 9.1})
            for (double eps : {0.5, 1.5, 3.5, 8.5}) points.push_back({beta, delta, eps});
    for (double delta : {0.1, 0.25, 0.9, 2.25, 3.3, 6.25, 8.7}) points.push_back({0.0, delta, 0.0});
    for (double beta : {0.0, 0.05, 0.3, 1.0}) points.push_back({beta, 1.7, 0.4});
    for (double beta : {0.0, 0.5, 2.0}) points.push_back({beta, beta * beta, 0.0});
    return points;
}

TEST(RectangularWave, EqualsTheTransferMatrixProduct) {
    // y = e^(-beta t) u turns the equation into u'' + (K - beta^2) u = 0; R is half the trace of
    // the second half period's matrix times the first's, A = R - cosh 2 pi beta, B = R + cosh.
    for (const auto& [beta, delta, eps] : closed_form_points()) {
        double a[4], b[4];
        half_period(delta + eps - beta * beta, a);
        half_period(delta - eps - beta * beta, b);
        const double terms[4] = {b[0] * a[0], b[1] * a[2], b[2] * a[1], b[3] * a[3]};
        const double r = 0.5 * (terms[0] + terms[1] + terms[2] + terms[3]);
        const double h = std::cosh(2.0 * pi * beta);
        double size = h;
        for (double t : terms) size += std::fabs(t);
        SCOPED_TRACE(std::to_string(beta) + " " + std::to_string(delta) + " " +
                     std::to_string(eps));
        EXPECT_NEAR(rectangular_wave_characteristic('A', beta, delta, eps), r - h, 1e-13 * size);
        EXPECT_NEAR(rectangular_wave_characteristic('B', beta, delta, eps), r + h, 1e-13 * size);
    }
    // Without damping B and A differ by exactly 2.
    EXPECT_EQ(rectangular_wave_characteristic('B', 0.0, 1.7, 0.4) -
                  rectangular_wave_characteristic('A', 0.0, 1.7, 0.4),
              2.0);
}

// Sign changes on a fine grid of delta in [-1, 10], each located to 1e-9 by bisection.
std::vector<double> sign_changes(char kind, double beta, double eps) {
    std::vector<double> roots;
    double step = 1e-3;
    for (double a = -1.0; a < 10.0; a += step) {
        double b = a + step;
        double fa = rectangular_wave_characteristic(kind, beta, a, eps);
        double fb = rectangular_wave_characteristic(kind, beta, b, eps);
        if (fa * fb >= 0.0) continue;
        double lo = a, hi = b;
        while (hi - lo > 1e-9) {
            double mid = 0.5 * (lo + hi);
            if (fa * rectangular_wave_characteristic(kind, beta, mid, eps) > 0.0)
                lo = mid;
            else
                hi = mid;
        }
        roots.push_back(0.5 * (lo + hi));
    }
    return roots;
}

TEST(RectangularWave, ReferenceRootsAtTenthDampingUnitExcitation) {
    // Five-decimal reference roots of the transfer-matrix conditions R = +-cosh(2 pi 0.1).
    const std::vector<double> period_t = {-0.53859, 0.80847, 1.41751};
    const std::vector<double> period_2t = {-0.51492, 0.55524};
    std::vector<double> a = sign_changes('A', 0.1, 1.0);
    std::vector<double> b = sign_changes('B', 0.1, 1.0);
    ASSERT_EQ(a.size(), period_t.size());
    ASSERT_EQ(b.size(), period_2t.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], period_t[i], 5e-6);
    for (size_t i = 0; i < b.size(); ++i) EXPECT_NEAR(b[i], period_2t[i], 5e-6);
}

TEST(RectangularWave, HeavyDampingKeepsThePeriodTBoundary) {
    // cosh 2 pi beta leaves the double range above beta ~ 56.5. Unexcited, R = cosh(2 pi
    // sqrt(beta^2 - delta)) meets cosh 2 pi beta at delta = 0 only: A changes sign there, B never.
    for (double beta : {57.0, 100.0, 1e3}) {
        SCOPED_TRACE(beta);
        for (double delta : {-1.0, -0.01, 0.01, 10.0}) {
            double a = rectangular_wave_characteristic('A', beta, delta, 0.0);
            double b = rectangular_wave_characteristic('B', beta, delta, 0.0);
            ASSERT_TRUE(std::isfinite(a) && std::isfinite(b)) << delta;
            EXPECT_EQ(a > 0.0, delta < 0.0) << delta;
            EXPECT_GT(b, 0.0) << delta;
        }
    }
}

}  // namespace
