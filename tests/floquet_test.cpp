// Floquet analysis against closed forms: Liouville's determinant, the unexcited damped oscillator,
// the square wave integrated versus multiplied out, the Mathieu monodromy against a direct
// integration at half the step, the tongue boundaries near delta = n^2 / 4 from the small-eps
// series, and the multipliers of known matrices.
#include "stability/floquet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

#include "state/numbers.h"

namespace {

// Agreement asked of the integration: about 1e-10 of the matrix's largest entry (at least 1).
constexpr double matrix_accuracy = 1e-10;

double largest_entry(const transfer_matrix& m) {
    double big = 1.0;
    for (const auto& row : m.a)
        for (double x : row) big = std::max(big, std::fabs(x));
    return big;
}

void expect_matrix_near(const transfer_matrix& got, const transfer_matrix& want, double relative) {
    double tolerance = relative * largest_entry(want);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_NEAR(got.a[i][j], want.a[i][j], tolerance) << i << j;
}

// Transition matrix over time t of y'' + 2 beta y' + delta y = 0, from the characteristic roots
// lambda = -beta +- sqrt(beta^2 - delta): y1 = (l1 e^(l2 t) - l2 e^(l1 t)) / (l1 - l2),
// y2 = (e^(l1 t) - e^(l2 t)) / (l1 - l2); for a double root y1 = (1 + beta t) e^(-beta t), y2 = t e^(-beta t).
transfer_matrix damped_oscillator(double beta, double delta, double t) {
    using cplx = std::complex<double>;
    if (beta * beta == delta) {
        double e = std::exp(-beta * t);
        return {{{(1.0 + beta * t) * e, t * e}, {-beta * beta * t * e, (1.0 - beta * t) * e}}};
    }
    cplx root = std::sqrt(cplx(beta * beta - delta, 0.0));
    cplx l1 = -beta + root, l2 = -beta - root;
    cplx e1 = std::exp(l1 * t), e2 = std::exp(l2 * t);
    cplx y1 = (l1 * e2 - l2 * e1) / (l1 - l2), y2 = (e1 - e2) / (l1 - l2);
    cplx v1 = (l1 * l2 * e2 - l2 * l1 * e1) / (l1 - l2), v2 = (l1 * e1 - l2 * e2) / (l1 - l2);
    return {{{y1.real(), y2.real()}, {v1.real(), v2.real()}}};
}

double det(const transfer_matrix& m) { return m.a[0][0] * m.a[1][1] - m.a[0][1] * m.a[1][0]; }

TEST(Floquet, DeterminantIsLiouvilleExpMinusFourPiBeta) {
    // det M = exp(-integral of 2 beta over 2 pi), whatever K(t).
    struct liouville_case {
        const char* name;
        char system;
        double beta, delta, eps;
    };
    const liouville_case cases[] = {
        {"undamped Mathieu in the first tongue", 'm', 0.0, 0.25, 0.3},
        {"light damping, stable", 'm', 0.01, 2.0, 1.0},
        {"moderate damping, large excitation", 'm', 0.2, 5.0, 8.0},
        {"heavy damping, negative stiffness", 'm', 1.0, -1.0, 2.0},
        {"heaviest tabled damping", 'm', 5.0, 10.0, 10.0},
        {"square wave, damped", 'r', 0.1, 1.0, 1.0},
        {"square wave, one half period negative", 'r', 0.5, 0.5, 3.0},
    };
    for (const liouville_case& c : cases) {
        SCOPED_TRACE(c.name);
        transfer_matrix m = floquet_monodromy(c.system, c.beta, c.delta, c.eps);
        double want = std::exp(-2.0 * two_pi * c.beta);
        // det of computed entries: each product carries the entries' error times the other entry.
        double tolerance = 4.0 * matrix_accuracy * largest_entry(m) * largest_entry(m) * want;
        EXPECT_NEAR(det(m), want, std::max(tolerance, 1e-14));
    }
}

TEST(Floquet, UnexcitedIsTheDampedOscillator) {
    struct oscillator_case {
        const char* name;
        double beta, delta;
    };
    const oscillator_case cases[] = {
        {"undamped", 0.0, 2.0},    {"undamped, delta = 0 (free mass)", 0.0, 0.0},
        {"underdamped", 0.1, 3.0}, {"critically damped", 0.5, 0.25},
        {"overdamped", 2.0, 1.0},  {"negative stiffness", 0.05, -1.0},
    };
    for (const oscillator_case& c : cases) {
        SCOPED_TRACE(c.name);
        for (char system : {'m', 'r'}) {
            SCOPED_TRACE(system);
            expect_matrix_near(floquet_monodromy(system, c.beta, c.delta, 0.0),
                               damped_oscillator(c.beta, c.delta, two_pi), matrix_accuracy);
            expect_matrix_near(floquet_half_period(system, c.beta, c.delta, 0.0),
                               damped_oscillator(c.beta, c.delta, pi), matrix_accuracy);
        }
    }
}

TEST(Floquet, SquareWaveIntegrationAgreesWithClosedForm) {
    struct square_case {
        const char* name;
        double beta, delta, eps;
    };
    const square_case cases[] = {
        {"both halves oscillate", 0.0, 2.0, 0.5},
        {"second half grows", 0.1, 1.0, 1.5},
        {"both halves grow", 0.2, -1.0, 0.5},
        {"heavy damping, large excitation", 2.0, 10.0, 10.0},
    };
    for (const square_case& c : cases) {
        SCOPED_TRACE(c.name);
        int steps = floquet_steps_per_half(c.beta, c.delta, c.eps);
        expect_matrix_near(floquet_integrate('r', c.beta, c.delta, c.eps, 2, steps),
                           floquet_monodromy('r', c.beta, c.delta, c.eps), matrix_accuracy);
    }
}

TEST(Floquet, MathieuMonodromyAgreesWithDirectIntegrationAtHalfTheStep) {
    // The monodromy comes from the undamped half period; the damped equation integrated directly
    // over the whole period with half the step is far more accurate, so the difference is the
    // error of the monodromy. Corners and middle of the charted range.
    for (double beta : {0.0, 0.1, 5.0})
        for (double delta : {-1.0, 2.5, 10.0})
            for (double eps : {0.0, 3.0, 10.0}) {
                SCOPED_TRACE(testing::Message() << beta << " " << delta << " " << eps);
                int steps = floquet_steps_per_half(beta, delta, eps);
                expect_matrix_near(floquet_monodromy('m', beta, delta, eps),
                                   floquet_integrate('m', beta, delta, eps, 2, 2 * steps),
                                   matrix_accuracy);
                // The half period at its own step against half that step.
                expect_matrix_near(floquet_half_period('m', 0.0, delta, eps),
                                   floquet_integrate('m', 0.0, delta, eps, 1,
                                                     2 * floquet_steps_per_half(0.0, delta, eps)),
                                   matrix_accuracy);
            }
}

TEST(Floquet, HeavyDampingStaysFiniteAndRight) {
    // The growth e^(beta pi) of the undamped solutions once overflowed (NaN from beta ~ 113
    // Mathieu, inf from 226 square wave). Unexcited: |mu| = exp(2 pi l) with the slow root
    // l = -delta / (beta + sqrt(beta^2 - delta)); excited Mathieu up to beta 300: the damped
    // equation integrated directly at half the step, whose y stays in range.
    for (char system : {'m', 'r'})
        for (double beta : {150.0, 230.0, 300.0, 1e3, 1e6})
            for (double delta : {-1.0, 10.0})
                for (double eps : {0.0, 10.0}) {
                    SCOPED_TRACE(testing::Message()
                                 << system << beta << " " << delta << " " << eps);
                    double mu = floquet_max_modulus(floquet_monodromy(system, beta, delta, eps));
                    ASSERT_TRUE(std::isfinite(mu));
                    double want = NAN;
                    if (eps == 0.0)
                        want = std::exp(-two_pi * delta / (beta + std::sqrt(beta * beta - delta)));
                    else if (system == 'm' && beta <= 300.0)
                        want = floquet_max_modulus(
                            floquet_integrate('m', beta, delta, eps, 2,
                                              2 * floquet_steps_per_half(beta, delta, eps)));
                    if (want == want) {
                        EXPECT_NEAR(mu, want, beta < 1e6 ? 1e-9 : 1e-7);  // delta - beta^2 rounds
                    }
                    // Heavy damping: decay where the stiffness is positive, slow growth at -1.
                    EXPECT_EQ(floquet_is_stable(floquet_monodromy(system, beta, delta, eps)),
                              delta > 0.0);
                }
}

// Which function of the undamped half-period matrix vanishes on a boundary of one parity.
enum boundary_condition { y1_slope, y2_value, y1_value, y2_slope };

double half_period_condition(boundary_condition which, double delta, double eps) {
    transfer_matrix h = floquet_half_period('m', 0.0, delta, eps);
    switch (which) {
        case y1_slope: return h.a[1][0];
        case y2_value: return h.a[0][1];
        case y1_value: return h.a[0][0];
        case y2_slope: return h.a[1][1];
    }
    return NAN;
}

TEST(Floquet, UndampedBoundariesLeaveTheTongueTipsAsTheSmallExcitationSeriesSay) {
    // y'' + (delta + eps cos t) y = 0 is Mathieu's equation in x = t / 2 with a = 4 delta,
    // q = -2 eps; the characteristic-value series a_n(q), b_n(q) give each boundary leaving
    // delta = n^2 / 4. Truncation error of the series at eps = 0.1 is below 3e-7.
    constexpr double eps = 0.1, e2 = eps * eps, e3 = e2 * eps, e4 = e2 * e2, width = 1e-6;
    struct tip_case {
        const char* name;
        boundary_condition which;
        bool period_2t;
        double delta;
    };
    const tip_case cases[] = {
        {"a0: even, period T, n = 0", y1_slope, false, -e2 / 2.0 + 7.0 * e4 / 32.0},
        {"a1: even, period 2T, n = 1", y1_value, true, 0.25 - eps / 2.0 - e2 / 8.0 + e3 / 32.0},
        {"b1: odd, period 2T, n = 1", y2_slope, true, 0.25 + eps / 2.0 - e2 / 8.0 - e3 / 32.0},
        {"b2: odd, period T, n = 2", y2_value, false, 1.0 - e2 / 12.0 + 5.0 * e4 / 3456.0},
        {"a2: even, period T, n = 2", y1_slope, false, 1.0 + 5.0 * e2 / 12.0 - 763.0 * e4 / 3456.0},
        {"a3: even, period 2T, n = 3", y1_value, true, 2.25 + e2 / 16.0 - e3 / 32.0},
        {"b3: odd, period 2T, n = 3", y2_slope, true, 2.25 + e2 / 16.0 + e3 / 32.0},
    };
    for (const tip_case& c : cases) {
        SCOPED_TRACE(c.name);
        double below = c.delta - width, above = c.delta + width;
        EXPECT_LT(
            half_period_condition(c.which, below, eps) * half_period_condition(c.which, above, eps),
            0.0);
        auto p = [&](double delta) {
            transfer_matrix m = floquet_monodromy('m', 0.0, delta, eps);
            return c.period_2t ? floquet_p_2t(m) : floquet_p_t(m);
        };
        EXPECT_LT(p(below) * p(above), 0.0);
    }
    // At eps = 0 the tips themselves: a solution of period T at delta = n^2 / 4 for even n
    // (cos and sin of n t / 2), of period 2T for odd n.
    for (int n = 0; n <= 6; ++n) {
        SCOPED_TRACE(n);
        transfer_matrix m = floquet_monodromy('m', 0.0, n * n / 4.0, 0.0);
        EXPECT_NEAR(n % 2 == 0 ? floquet_p_t(m) : floquet_p_2t(m), 0.0, matrix_accuracy);
    }
}

TEST(Floquet, MultipliersVerdictAndBoundaryFunctionsOfKnownMatrices) {
    const double theta = 0.7, tiny = 1e-7, small = 1e-5;
    struct matrix_case {
        const char* name;
        transfer_matrix m;
        double re1, im1, re2, im2;  // expected multipliers, |mu1| >= |mu2|
        bool stable;
    };
    const matrix_case cases[] = {
        {"rotation: unit-circle pair",
         {{{std::cos(theta), -std::sin(theta)}, {std::sin(theta), std::cos(theta)}}},
         std::cos(theta),
         std::sin(theta),
         std::cos(theta),
         -std::sin(theta),
         true},
        {"saddle", {{{2.0, 0.0}, {0.0, 0.5}}}, 2.0, 0.0, 0.5, 0.0, false},
        {"flip saddle, larger first", {{{0.25, 0.0}, {0.0, -4.0}}}, -4.0, 0.0, 0.25, 0.0, false},
        {"double -1 (Jordan block)", {{{-1.0, 1.0}, {0.0, -1.0}}}, -1.0, 0.0, -1.0, 0.0, true},
        {"decaying spiral", {{{0.0, -0.25}, {1.0, 0.0}}}, 0.0, 0.5, 0.0, -0.5, true},
        {"grows by 1e-7: within the tolerance",
         {{{1.0 + tiny, 0.0}, {0.0, 1.0 / (1.0 + tiny)}}},
         1.0 + tiny,
         0.0,
         1.0 / (1.0 + tiny),
         0.0,
         true},
        {"grows by 1e-5: unstable",
         {{{1.0 + small, 0.0}, {0.0, 1.0 / (1.0 + small)}}},
         1.0 + small,
         0.0,
         1.0 / (1.0 + small),
         0.0,
         false},
    };
    for (const matrix_case& c : cases) {
        SCOPED_TRACE(c.name);
        floquet_multipliers mu = floquet_multipliers_of(c.m);
        EXPECT_NEAR(mu.re[0], c.re1, 1e-15);
        EXPECT_NEAR(mu.im[0], c.im1, 1e-15);
        EXPECT_NEAR(mu.re[1], c.re2, 1e-15);
        EXPECT_NEAR(mu.im[1], c.im2, 1e-15);
        EXPECT_NEAR(floquet_max_modulus(c.m), std::hypot(c.re1, c.im1), 1e-15);
        EXPECT_EQ(floquet_is_stable(c.m), c.stable);
        // det(M -+ I) is the product of (mu -+ 1) over both multipliers.
        std::complex<double> mu1(c.re1, c.im1), mu2(c.re2, c.im2);
        EXPECT_NEAR(floquet_p_t(c.m), ((mu1 - 1.0) * (mu2 - 1.0)).real(), 1e-14);
        EXPECT_NEAR(floquet_p_2t(c.m), ((mu1 + 1.0) * (mu2 + 1.0)).real(), 1e-14);
    }
    EXPECT_FALSE(floquet_is_stable({{{NAN, 0.0}, {0.0, 1.0}}}));
}

TEST(Floquet, BatchedHalfPeriodsAndSharedMonodromiesAreTheSingleOnesBitForBit) {
    // Runs of equal step counts longer and shorter than a batch, both zeros, growth beyond 1e100
    // (beta 80: the scaled products), and a step count change inside a run.
    double deltas[40];
    int n = 0;
    for (int k = 0; k < 19; ++k) deltas[n++] = -1.0 + k * 0.01;
    for (double d : {0.0, -0.0, 0.37, 9.99, 10.0, 400.0, -26.0, 2.25, 2.26, 2.2500001})
        deltas[n++] = d;
    for (double eps : {0.0, 3.7, 10.0}) {
        transfer_matrix batched[40];
        floquet_half_periods(eps, deltas, n, batched);
        for (int i = 0; i < n; ++i) {
            transfer_matrix single = floquet_half_period('m', 0.0, deltas[i], eps);
            EXPECT_EQ(std::memcmp(&batched[i], &single, sizeof single), 0)
                << eps << " " << deltas[i];
        }
        for (double beta : {0.0, 0.3, 5.0, 80.0})
            for (int i = 0; i < n; i += 3) {
                transfer_matrix half = floquet_half_period('m', 0.0, deltas[i] - beta * beta, eps);
                transfer_matrix shared = floquet_monodromy_of_half(beta, half);
                transfer_matrix direct = floquet_monodromy('m', beta, deltas[i], eps);
                EXPECT_EQ(std::memcmp(&shared, &direct, sizeof direct), 0)
                    << eps << " " << beta << " " << deltas[i];
            }
    }
}

}  // namespace
