// Boundary scan: the selector, the columns a scan writes and leaves alone, the no-root marker,
// reference roots, termination with bounded output for hopeless characteristic functions, and the
// batched walk, and scans shared among threads.
#include "stability/boundary_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "stability/boundary_scan_jobs.h"
#include "stability/floquet.h"
#include "stability/hill_banded.h"
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
}

// Every function of the stability floor that takes a kind gives NaN for a kind it does not know
// (for the monodromy matrix, every entry; the verdict is then unstable).
double monodromy_entries(char system, double beta, double delta, double eps) {
    const transfer_matrix m = floquet_monodromy(system, beta, delta, eps);
    EXPECT_FALSE(floquet_is_stable(m));
    return m.a[0][0] + m.a[0][1] + m.a[1][0] + m.a[1][1];
}

TEST(StabilityKinds, UnknownKindsGiveNaN) {
    struct kind_case {
        const char* name;
        double (*value)(char, double, double, double);
        const char* others;  // the unknown kinds tried (besides NUL)
    };
    const kind_case cases[] = {
        {"selector", characteristic_value, "07abCm"},
        {"banded Hill evaluation", hill_banded, "07ABa"},
        {"Floquet monodromy", monodromy_entries, "x15AB"},
    };
    for (const kind_case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* k = c.others;; ++k) {
            SCOPED_TRACE(static_cast<int>(*k));
            EXPECT_TRUE(std::isnan(c.value(*k, 0.1, 1.0, 1.0)));
            if (*k == '\0') break;
        }
    }
}

// Evaluations of the counting characteristic functions below.
int evaluations = 0;

// A characteristic function without roots: one evaluation per scan point.
double counted_constant(char, double, double, double) {
    ++evaluations;
    return 1.0;
}

TEST(BoundaryScan, ScanPointsOfAColumnWithoutRoots) {
    // Running sums from -1: steps of 0.02 while the point is below eps, 0.1 from the first point
    // at or above it; the last point is the last sum not above 10.
    double sum = -1.0;
    for (int k = 0; k < 258; ++k) sum = sum + 0.02;
    ASSERT_EQ(sum, 208 * epsilon_spacing);  // binary64: the 259th point is eps of column 208
    struct count_case {
        const char* name;
        double eps;
        int points;
    };
    const count_case cases[] = {
        {"eps 0: 51 fine points up to 6.2e-16, then 100 coarse", 0.0, 151},
        {"eps 10: fine all the way", 10.0, 551},
        {"eps 4.16: fine up to 4.16 itself (259), coarse from there to 9.96 (58)", sum, 317},
    };
    double roots[root_list_size];
    for (const count_case& c : cases) {
        SCOPED_TRACE(c.name);
        evaluations = 0;
        EXPECT_EQ(delta_root_search('x', 0.0, roots, c.eps, counted_constant), 0);
        EXPECT_EQ(evaluations, c.points);
    }
}

TEST(BoundaryScan, PinnedColumnsOfEveryKind) {
    // Roots to nine decimals, each checked below by the sign of D a step of 1e-8 to either side,
    // so that no pin comes from the scan. False position accepts r once |D(r) / D(c)| < 1e-6, c
    // the bracket's right end as first found; with c well away from the root that puts r within
    // 5e-7 of it. NAN: the upper root of a pair closer than one step, accepted against a c near
    // the lower root and so further off; not pinned.
    struct column_case {
        char kind;
        double beta;
        int column;
        int count;
        double roots[7];
    };
    const column_case cases[] = {
        {'1', 0.0, 50, 4, {-0.378489221, 1.293166283, 4.035300946, 9.014303906}},
        {'2', 0.0, 50, 3, {0.918058177, 4.031921988, 9.014301750}},
        {'3', 0.0, 50, 3, {-0.347669125, 2.285156934, 6.270837258}},
        {'4', 0.0, 50, 3, {0.594799970, 2.342580621, 6.270944446}},
        {'5', 0.05, 33, 3, {-0.186296433, 1.052736378, NAN}},
        {'6', 0.1, 50, 2, {-0.334215536, 0.584426452}},
        {'A', 0.0, 5, 7, {-0.008162071, 0.997501809, NAN, 3.999375993, NAN, 8.999722450, NAN}},
        {'A', 0.1, 50, 3, {-0.538593216, 0.808469733, 1.417508269}},
        {'B', 0.1, 50, 2, {-0.514916615, 0.555239414}},
        {'1', 0.0, 300, 3, {1.719684214, 5.743031868, 9.579258516}},
        {'2', 0.0, 300, 2, {4.348812420, 9.501502175}},
        {'3', 0.0, 300, 2, {1.750141695, 6.825003103}},
        {'4', 0.0, 300, 2, {4.075383736, 7.302013749}},
        {'5', 0.05, 300, 3, {1.721449034, 4.360256904, 5.726820688}},
        {'6', 0.1, 300, 2, {1.763353158, 4.063199560}},
        {'A', 0.1, 300, 3, {0.206109524, 4.512879406, 6.651500222}},
        {'B', 0.1, 300, 4, {0.209228955, 4.423908321, 7.397545022, 8.047681163}},
    };
    const double side = 1e-8, accepted = 5e-7;
    for (const column_case& c : cases) {
        SCOPED_TRACE(std::string(1, c.kind) + " beta " + std::to_string(c.beta) + " column " +
                     std::to_string(c.column));
        const double eps = c.column * epsilon_spacing;
        double roots[root_list_size];
        ASSERT_EQ(delta_root_search(c.kind, c.beta, roots, eps), c.count);
        for (int j = 0; j < c.count; ++j) {
            if (std::isnan(c.roots[j])) continue;
            SCOPED_TRACE(j);
            EXPECT_LT(characteristic_value(c.kind, c.beta, c.roots[j] - side, eps) *
                          characteristic_value(c.kind, c.beta, c.roots[j] + side, eps),
                      0.0);
            EXPECT_NEAR(roots[j], c.roots[j], accepted);
        }
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
        // The row above the roots (above the no-root marker) keeps what it held.
        const int above = std::max(table.counts[i], 1) + 1;
        if (above < boundary_rows) {
            ASSERT_EQ(table.points[above][i], -7.0) << i;
        }
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

// The program's own evaluation walks B1 and B2 four points per call; a scan handed a function of its
// own walks one point per call. Both must give the same table, bit for bit.
double one_at_a_time(char kind, double beta, double delta, double eps) {
    return characteristic_value(kind, beta, delta, eps);
}

TEST(BoundaryScan, BatchedWalkGivesTheTableOfSingleEvaluations) {
    static boundary_table single;
    for (char kind : {'5', '6'})
        for (double beta : {0.0, 0.3}) {
            SCOPED_TRACE(std::string(1, kind) + " " + std::to_string(beta));
            fill_with(table, -7.0, 4);
            fill_with(single, -7.0, 4);
            boundary_scan(kind, beta, table.counts, table.points, 100);
            boundary_scan(kind, beta, single.counts, single.points, 100, one_at_a_time);
            EXPECT_EQ(std::memcmp(&table, &single, sizeof table), 0);
        }
}

// Scans shared among threads give the tables of single scans, reported in the order of the jobs;
// a false from the caller stops the reports there.
struct report_log {
    int indices[8];
    int count;
    int stop_after;  // index whose report returns false, or -1
};

bool log_report(int index, void* context) {
    report_log& log = *static_cast<report_log*>(context);
    log.indices[log.count++] = index;
    return index != log.stop_after;
}

TEST(BoundaryScan, JobsOnThreadsGiveTheTablesOfSingleScansInOrder) {
    static boundary_table scanned[5], single[5];
    const boundary_scan_job kinds[5] = {{'5', 0.3, nullptr, 60},
                                        {'6', 0.3, nullptr, 60},
                                        {'A', 0.1, nullptr, 60},
                                        {'1', 0.0, nullptr, 60},
                                        {'6', 1.0, nullptr, 40}};
    boundary_scan_job jobs[5];
    for (int j = 0; j < 5; ++j) {
        fill_with(single[j], -7.0, 4);
        boundary_scan(kinds[j].kind, kinds[j].beta, single[j].counts, single[j].points, kinds[j].n);
    }
    const struct {
        int threads, stop_after, reported;
    } cases[] = {{1, -1, 5}, {2, -1, 5}, {4, -1, 5}, {2, 0, 1}, {3, 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.threads) + " threads, stop after " +
                     std::to_string(c.stop_after));
        for (int j = 0; j < 5; ++j) {
            fill_with(scanned[j], -7.0, 4);
            jobs[j] = kinds[j];
            jobs[j].table = &scanned[j];
        }
        report_log log = {{}, 0, c.stop_after};
        EXPECT_EQ(boundary_scan_jobs(jobs, 5, c.threads, log_report, &log), c.reported);
        ASSERT_EQ(log.count, c.reported);
        for (int j = 0; j < c.reported; ++j) {
            EXPECT_EQ(log.indices[j], j);
            EXPECT_EQ(std::memcmp(&scanned[j], &single[j], sizeof single[j]), 0) << "job " << j;
        }
    }
}

}  // namespace
