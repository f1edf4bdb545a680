// The three eliminations of a Hill determinant agree: the banded evaluation, single or batched,
// equals the dense route (the kind's matrix and its sparse determinant) bit for bit, NaN and
// signed zeros included, and the dense route equals the plain elimination of the same matrix with
// every row updated (NaN for NaN, zeros of either sign), over one table of point sets: the
// scan's grid, a coarse grid, random points, zero pivots, extreme and non-finite inputs.
#include "stability/hill_banded.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "stability/hill_determinants.h"
#include "tests/plain_determinant.h"

namespace {

const char hill_kinds[] = {'1', '2', '3', '4', '5', '6'};

double dense_value(char kind, double beta, double delta, double eps) {
    switch (kind) {
        case '1': return hill_dc1(delta, eps);
        case '2': return hill_ds1(delta, eps);
        case '3': return hill_dc2(delta, eps);
        case '4': return hill_ds2(delta, eps);
        case '5': return hill_b1(beta, delta, eps);
        default: return hill_b2(beta, delta, eps);
    }
}

std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// Counts the points where a banded value is not the dense one, bit for bit, alone, as the first of
// a batch of four and as the second of a batch of three (a pair and a single), or where the dense
// value is not the plain elimination's (only where every entry is finite: the plain elimination
// multiplies infinities by the zeros the sparse one skips); reports the first.
int mismatches = 0;
void expect_same(char kind, double beta, double delta, double eps) {
    const double dense = dense_value(kind, beta, delta, eps);
    const double four[4] = {delta, 0.37, 2.1, 5.5};
    const double three[3] = {0.37, delta, 1.0};
    double from_four[4], from_three[3];
    hill_banded_batch(kind, beta, four, 4, eps, from_four);
    hill_banded_batch(kind, beta, three, 3, eps, from_three);
    bool same = true;
    for (double banded : {hill_banded(kind, beta, delta, eps), from_four[0], from_three[1]})
        same = same && bits(banded) == bits(dense);
    if (std::isfinite(beta) && std::isfinite(delta) && std::isfinite(eps)) {
        const double plain = plain_determinant(hill_matrix(kind, beta, delta, eps),
                                               hill_storage(kind), hill_storage_order);
        same = same && (std::isnan(plain) ? std::isnan(dense) : plain == dense);
    }
    if (!same && mismatches++ == 0)
        ADD_FAILURE() << kind << " beta " << beta << " delta " << delta << " eps " << eps;
}

// The points of the scans: delta walked as running sums from -1 in the fine and the coarse step,
// eps on the 0.02 grid (every 25th column), the damping of the stored tables and others.
void scan_grid() {
    for (char kind : hill_kinds)
        for (double beta : {0.0, 0.01, 0.3, 5.0})
            for (int column = 0; column <= 500; column += 25) {
                double eps = column * 0.02;
                for (double delta = -1.0; delta <= 10.0; delta = delta + (delta < eps ? 0.02 : 0.1))
                    expect_same(kind, beta, delta, eps);
                if (kind < '5') break;  // beta is not used
            }
}

// A coarse grid over the chart with damping of the stored tables and between them.
void coarse_grid() {
    for (char kind : hill_kinds)
        for (double beta : {0.0, 0.05, 0.7})
            for (double delta = -1.0; delta < 10.0; delta += 0.37)
                for (double eps : {0.0, 0.6, 3.3, 9.98}) expect_same(kind, beta, delta, eps);
}

// Random points over and beyond the program's range, negative eps and beta included, and the
// exact zeros of the diagonal at eps = 0 (a zero pivot: NaN before the last column, else zero).
void random_points_and_zero_pivots() {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> near(-20.0, 120.0);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0);
    for (int trial = 0; trial < 4000; ++trial) {
        double beta = near(rng) / 10.0, delta = near(rng), eps = near(rng) / 5.0 - 4.0;
        if (trial % 4 == 3) eps = std::copysign(std::pow(10.0, exponent(rng)), eps);
        if (trial % 8 == 5) delta = std::copysign(std::pow(10.0, exponent(rng)), delta);
        for (char kind : hill_kinds) expect_same(kind, beta, delta, eps);
    }
    for (char kind : hill_kinds)
        for (int n = 0; n <= 21; ++n) {
            expect_same(kind, 0.3, static_cast<double>(n * n), 0.0);
            expect_same(kind, 0.3, static_cast<double>((2 * n + 1) * (2 * n + 1)) / 4.0, 0.0);
        }
}

// Every combination of signed zeros, infinities, NaN and 1e+-300 in beta, delta and eps.
void extreme_and_non_finite_inputs() {
    const double special[] = {0.0,    -0.0,   INFINITY, -INFINITY, NAN, 1e300,
                              -1e300, 1e-300, -1e-300,  0.5,       3.0};
    for (char kind : hill_kinds)
        for (double beta : special)
            for (double delta : special)
                for (double eps : special) expect_same(kind, beta, delta, eps);
}

TEST(HillBanded, BandedDenseAndPlainEliminationsAgreeOnEveryPointSet) {
    const struct {
        const char* name;
        void (*visit)();
    } point_sets[] = {{"scan grid", scan_grid},
                      {"coarse grid", coarse_grid},
                      {"random points and zero pivots", random_points_and_zero_pivots},
                      {"extreme and non-finite inputs", extreme_and_non_finite_inputs}};
    for (const auto& set : point_sets) {
        SCOPED_TRACE(set.name);
        mismatches = 0;
        set.visit();
        EXPECT_EQ(mismatches, 0);
    }
}

}  // namespace
