// Boundary scan: the selector, the columns a scan writes and leaves alone, the no-root marker,
// reference roots, and termination with bounded output for hopeless characteristic functions.
#include "stability/boundary_scan.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stability/hill_determinants.h"
#include "stability/rectangular_wave.h"

namespace {

boundary_table table;  // static: too large for the stack of a test

void fill_with(boundary_table& t, double value, int count) {
    for (int i = 0; i < boundary_columns; ++i) {
        t.counts[i] = count;
        for (int r = 0; r < boundary_rows; ++r) t.points[r][i] = value;
    }
}

TEST(BoundaryScan, SelectorMapsEveryKindAndRejectsOthers) {
    EXPECT_EQ(characteristic_value('1', 9.0, 0.3, 0.7), hill_dc1(0.3, 0.7));
    EXPECT_EQ(characteristic_value('2', 9.0, 0.3, 0.7), hill_ds1(0.3, 0.7));
    EXPECT_EQ(characteristic_value('3', 9.0, 0.3, 0.7), hill_dc2(0.3, 0.7));
    EXPECT_EQ(characteristic_value('4', 9.0, 0.3, 0.7), hill_ds2(0.3, 0.7));
    EXPECT_EQ(characteristic_value('5', 0.2, 0.3, 0.7), hill_b1(0.2, 0.3, 0.7));
    EXPECT_EQ(characteristic_value('6', 0.2, 0.3, 0.7), hill_b2(0.2, 0.3, 0.7));
    EXPECT_EQ(characteristic_value('A', 0.2, 0.3, 0.7),
              rectangular_wave_characteristic('A', 0.2, 0.3, 0.7));
    EXPECT_EQ(characteristic_value('B', 0.2, 0.3, 0.7),
              rectangular_wave_characteristic('B', 0.2, 0.3, 0.7));
    for (char other : {'0', '7', 'a', 'b', 'C', 'm', '\0'})
        EXPECT_TRUE(std::isnan(characteristic_value(other, 0.1, 1.0, 1.0)));
}

TEST(BoundaryScan, SquareWaveReferenceRootsInColumnFifty) {
    // Five-decimal roots of the square-wave conditions at beta = 0.1, eps = 1.0.
    struct column_case {
        char kind;
        int count;
        double roots[3];
    };
    const column_case cases[] = {{'A', 3, {-0.53859, 0.80847, 1.41751}},
                                 {'B', 2, {-0.51492, 0.55524, 0}}};
    for (const column_case& c : cases) {
        SCOPED_TRACE(c.kind);
        fill_with(table, -7.0, 4);
        boundary_scan(c.kind, 0.1, table.counts, table.points, 500);
        ASSERT_EQ(table.counts[50], c.count);
        EXPECT_DOUBLE_EQ(table.points[0][50], 1.0);
        for (int j = 0; j < c.count; ++j) EXPECT_NEAR(table.points[j + 1][50], c.roots[j], 5e-6);
        // Rows above the count keep what they held.
        EXPECT_EQ(table.points[c.count + 1][50], -7.0);
    }
}

TEST(BoundaryScan, WritesExactlyColumnsZeroToN) {
    fill_with(table, -7.0, 4);
    boundary_scan('B', 0.1, table.counts, table.points, 500);
    for (int i = 0; i <= 500; ++i) {
        ASSERT_EQ(table.points[0][i], i * 0.02) << i;  // a product, not a running sum
        ASSERT_GE(table.counts[i], 0);
        ASSERT_LE(table.counts[i], max_roots_per_column);
        for (int j = 2; j <= table.counts[i]; ++j)
            ASSERT_LT(table.points[j - 1][i], table.points[j][i]);
    }
    EXPECT_EQ(table.points[0][500], 10.0);
    EXPECT_EQ(table.counts[501], 4);
    EXPECT_EQ(table.points[0][501], -7.0);
    EXPECT_EQ(table.points[0][1500], -7.0);
}

TEST(BoundaryScan, ColumnWithoutRootsGetsTheMarker) {
    // With heavy damping the period-2T condition R + cosh(2 pi beta) = 0 has no root near eps = 0.
    fill_with(table, -7.0, 4);
    boundary_scan('B', 1.0, table.counts, table.points, 3);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(table.counts[i], 0);
        EXPECT_EQ(table.points[0][i], i * 0.02);
        EXPECT_EQ(table.points[1][i], no_root_marker);
        EXPECT_EQ(table.points[2][i], -7.0);
    }
}

TEST(BoundaryScan, UndampedMathieuTonguesStartAtSquaresOfHalfIntegers) {
    // At small eps the period-4 pi boundaries leave delta = 1/4 and 9/4, the period-2 pi ones
    // delta = 0, 1 and 4 (Mathieu's characteristic values).
    double roots[root_list_size];
    int dc2 = delta_root_search('3', 0.0, roots, 0.02);
    ASSERT_GE(dc2, 2);
    EXPECT_NEAR(roots[0], 0.25, 0.02);
    EXPECT_NEAR(roots[1], 2.25, 0.02);
    int ds1 = delta_root_search('2', 0.0, roots, 0.02);
    ASSERT_GE(ds1, 2);
    EXPECT_NEAR(roots[0], 1.0, 0.02);
    EXPECT_NEAR(roots[1], 4.0, 0.02);
}

// At |beta| = 1e20 the damped determinant B1 overflows to -inf and +inf on the two sides of its
// sign change near delta = 0, so false position can only halve the bracket. Once the bracket is two
// neighbouring doubles nothing changes any more: the search must stop there, with that root, long
// before the bound on the number of steps (10,000 evaluations).
int evaluations = 0;
double counted_value(char kind, double beta, double delta, double eps) {
    ++evaluations;
    return characteristic_value(kind, beta, delta, eps);
}

TEST(BoundaryScan, RefinementStopsWhenTheBracketCanShrinkNoFurther) {
    for (double beta : {1e20, -1e20}) {
        SCOPED_TRACE(beta);
        double roots[root_list_size];
        evaluations = 0;
        ASSERT_EQ(delta_root_search('5', beta, roots, 1.0, counted_value), 1);
        EXPECT_LT(evaluations, 1000);
        const double r = roots[0];
        const double below = characteristic_value('5', beta, std::nextafter(r, -1.0), 1.0);
        const double at = characteristic_value('5', beta, r, 1.0);
        const double above = characteristic_value('5', beta, std::nextafter(r, 1.0), 1.0);
        EXPECT_TRUE(std::signbit(at) != std::signbit(below) ||
                    std::signbit(at) != std::signbit(above))
            << "no sign change next to " << r;
    }
}

TEST(BoundaryScan, HopelessFunctionsEndWithBoundedOutput) {
    // An unknown kind gives NaN everywhere; the square wave at very large damping gives infinities
    // and NaN. The scan must end, record no more than a column holds, and keep the table finite.
    struct hopeless {
        char kind;
        double beta;
    } cases[] = {{'x', 0.1}, {'A', 60.0}, {'B', 60.0}, {'A', -200.0}, {'B', 1e300}};
    for (const hopeless& c : cases) {
        SCOPED_TRACE(std::string(1, c.kind) + " " + std::to_string(c.beta));
        fill_with(table, -7.0, 4);
        boundary_scan(c.kind, c.beta, table.counts, table.points, 20);
        for (int i = 0; i <= 20; ++i) {
            ASSERT_GE(table.counts[i], 0);
            ASSERT_LE(table.counts[i], max_roots_per_column);
            for (int j = 1; j <= table.counts[i]; ++j)
                EXPECT_TRUE(std::isfinite(table.points[j][i]));
        }
        EXPECT_EQ(table.counts[21], 4);
    }
}

TEST(BoundaryScan, DampedMathieuScanIsFiniteAndSorted) {
    fill_with(table, -7.0, 4);
    boundary_scan('6', 0.3, table.counts, table.points, 60);
    int total = 0;
    for (int i = 0; i <= 60; ++i) {
        total += table.counts[i];
        for (int j = 1; j <= table.counts[i]; ++j) {
            EXPECT_GE(table.points[j][i], -1.0);
            EXPECT_LE(table.points[j][i], 10.0);
            if (j > 1) {
                EXPECT_LT(table.points[j - 1][i], table.points[j][i]);
            }
        }
    }
    EXPECT_GT(total, 0);
}

}  // namespace
