// Verification of stored boundary tables by Floquet analysis. Each epsilon column is checked on
// its own, the columns shared among the worker threads; the values on the delta grid are kept for
// the next file of the same damping and equation (B1 and B2 share one monodromy per point).
#include "tools/boundary_verify.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "data/boundary_files.h"
#include "stability/floquet.h"
#include "state/numbers.h"

namespace {

constexpr int columns = epsilon_intervals + 1;

// Most worker threads; the machine's count of hardware threads below that.
constexpr int max_workers = 16;

// A boundary located by refinement is within this distance of the sign change of its function.
constexpr double refine_tolerance = 1e-12;
constexpr int max_refine_steps = 200;

// Half-widths around a stored root in which a sign change is looked for, nearest first, then
// the number of equal parts of +-verify_match_distance tried when none of them shows one.
constexpr double search_widths[] = {1e-6, 1e-5, verify_match_distance};
constexpr int search_parts = 40;

// Seconds of running before progress is reported on standard error, then between reports.
constexpr double progress_after = 2.0;

// Which matrix a kind's boundary function is read from: the undamped half-period matrix of the
// Mathieu equation (kinds '1' ... '4'), or the monodromy of the Mathieu equation ('5', '6') or
// of the square wave ('A', 'B').
char matrix_family(char kind) {
    if (kind >= '1' && kind <= '4') return 'h';
    return kind == 'A' || kind == 'B' ? 'r' : 'm';
}

transfer_matrix matrix_at(char kind, double damping, double eps, double delta) {
    switch (matrix_family(kind)) {
        case 'h': return floquet_half_period('m', 0.0, delta, eps);
        case 'r': return floquet_monodromy('r', damping, delta, eps);
        default: return floquet_monodromy('m', damping, delta, eps);
    }
}

// The function whose sign changes are the boundaries of a kind. Undamped tables hold one parity
// only, so they take the half-period conditions of the even equation: Dc1 y1'(pi) = 0,
// Ds1 y2(pi) = 0, Dc2 y1(pi) = 0, Ds2 y2'(pi) = 0. The others take det(M - I) (period T) or
// det(M + I) (period 2T).
double boundary_function(char kind, const transfer_matrix& m) {
    switch (kind) {
        case '1': return m.a[1][0];
        case '2': return m.a[0][1];
        case '3': return m.a[0][0];
        case '4': return m.a[1][1];
        case '5':
        case 'A': return floquet_p_t(m);
        default: return floquet_p_2t(m);
    }
}

// A sign change between two values; a zero counts with the negative side, so a boundary that
// falls exactly on a point is counted once. Non-finite values show none.
bool sign_change(double fa, double fb) {
    return std::isfinite(fa) && std::isfinite(fb) && (fa > 0.0) != (fb > 0.0);
}

// The boundary function of one table column: its kind, damping and epsilon.
struct column_problem {
    char kind;
    double damping;
    double eps;
};

double value_at(const column_problem& p, double delta) {
    return boundary_function(p.kind, matrix_at(p.kind, p.damping, p.eps, delta));
}

// The boundary inside [a, b], whose ends have values of opposite sign (or a zero): false
// position with the Illinois halving of the stale end, until the bracket is shorter than
// refine_tolerance.
double refine(const column_problem& p, double a, double fa, double b, double fb) {
    if (fa == 0.0) return a;
    if (fb == 0.0) return b;
    int kept_end = 0;  // which end stayed in the previous step: -1 a, +1 b
    for (int step = 0; step < max_refine_steps && std::fabs(b - a) > refine_tolerance; ++step) {
        double r = (a * fb - b * fa) / (fb - fa);
        if (!(r > std::fmin(a, b) && r < std::fmax(a, b))) r = 0.5 * (a + b);
        double fr = value_at(p, r);
        if (fr == 0.0 || !std::isfinite(fr)) return r;
        if ((fr > 0.0) == (fb > 0.0)) {
            b = r;
            fb = fr;
            if (kept_end == -1) fa *= 0.5;
            kept_end = -1;
        } else {
            a = r;
            fa = fr;
            if (kept_end == +1) fb *= 0.5;
            kept_end = +1;
        }
    }
    return 0.5 * (a + b);
}

// The true boundary nearest to a stored root, looked for within verify_match_distance of it;
// NAN when the function changes sign nowhere there.
double boundary_near(const column_problem& p, double root) {
    double f0 = value_at(p, root);
    if (f0 == 0.0) return root;
    for (double width : search_widths) {
        double lo = root - width, hi = root + width;
        double flo = value_at(p, lo), fhi = value_at(p, hi);
        double below = sign_change(flo, f0) ? refine(p, lo, flo, root, f0) : NAN;
        double above = sign_change(f0, fhi) ? refine(p, root, f0, hi, fhi) : NAN;
        if (below == below && above == above) return root - below <= above - root ? below : above;
        if (below == below) return below;
        if (above == above) return above;
    }
    // Two boundaries on one side of the root within the widest window: step through it.
    double best = NAN;
    double step = 2.0 * verify_match_distance / search_parts;
    double a = root - verify_match_distance, fa = value_at(p, a);
    for (int part = 1; part <= search_parts; ++part) {
        double b = root - verify_match_distance + part * step, fb = value_at(p, b);
        if (sign_change(fa, fb)) {
            double t = refine(p, a, fa, b, fb);
            if (!(std::fabs(t - root) >= std::fabs(best - root))) best = t;
        }
        a = b;
        fa = fb;
    }
    return best;
}

// One listed finding of a column: a stored root (spurious or deviating) or a missed boundary.
struct finding {
    char what;  // 's' spurious, 'd' deviation above the limit, 'm' missed
    double delta;
    double distance;  // from the true boundary ('d'); unused otherwise
};

constexpr int findings_per_column = 12;

struct column_result {
    int roots;
    int spurious;
    int missed;
    int deviating;
    double max_deviation;
    int listed;
    finding found[findings_per_column];
};

void note(column_result& r, char what, double delta, double distance) {
    if (r.listed < findings_per_column) r.found[r.listed++] = {what, delta, distance};
}

// Values of the matrices on the delta grid, kept from one file to the next: family, beta and the
// epsilon of each column say what they belong to.
struct grid_cache {
    char family;
    double damping;
    double eps[columns];
    bool filled[columns];
    transfer_matrix m[columns][verify_grid_points];
};
grid_cache grid;

// The table being verified and the results of its columns.
boundary_table table;
column_result results[columns];

double grid_delta(int k) { return verify_grid_first + k * verify_grid_step; }

void check_column(char kind, double damping, int column) {
    column_problem p = {kind, damping, table.points[0][column]};
    column_result& r = results[column];
    r = {};
    int count = table.counts[column];
    auto stored_root = [&](int j) { return table.points[1 + j][column]; };

    if (!grid.filled[column] || grid.eps[column] != p.eps) {
        for (int k = 0; k < verify_grid_points; ++k)
            grid.m[column][k] = matrix_at(kind, damping, p.eps, grid_delta(k));
        grid.eps[column] = p.eps;
        grid.filled[column] = true;
    }

    // Stored roots against the boundary next to each.
    r.roots = count;
    for (int j = 0; j < count; ++j) {
        double root = stored_root(j);
        double t = boundary_near(p, root);
        if (t != t) {
            ++r.spurious;
            note(r, 's', root, 0.0);
            continue;
        }
        double distance = std::fabs(t - root);
        if (distance > r.max_deviation) r.max_deviation = distance;
        if (distance > verify_max_deviation) {
            ++r.deviating;
            note(r, 'd', root, distance);
        }
    }

    // Boundaries on the grid without a stored root near them.
    double fa = boundary_function(kind, grid.m[column][0]);
    for (int k = 1; k < verify_grid_points; ++k) {
        double fb = boundary_function(kind, grid.m[column][k]);
        if (sign_change(fa, fb)) {
            double t = refine(p, grid_delta(k - 1), fa, grid_delta(k), fb);
            bool matched = false;
            for (int j = 0; j < count && !matched; ++j)
                matched = std::fabs(stored_root(j) - t) <= verify_match_distance;
            if (!matched) {
                ++r.missed;
                note(r, 'm', t, 0.0);
            }
        }
        fa = fb;
    }
}

std::atomic<int> next_column;

void worker(char kind, double damping) {
    for (int column = next_column++; column < columns; column = next_column++)
        check_column(kind, damping, column);
}

// Checks every column of the table with the available hardware threads.
void check_table(char kind, double damping) {
    char family = matrix_family(kind);
    if (grid.family != family || !(grid.damping == damping) || family == 'r') {
        // The square wave's closed form is cheaper than the cache.
        for (bool& f : grid.filled) f = false;
        grid.family = family;
        grid.damping = damping;
    }
    int workers = static_cast<int>(std::thread::hardware_concurrency());
    if (workers < 1) workers = 1;
    if (workers > max_workers) workers = max_workers;
    next_column = 0;
    std::thread threads[max_workers];
    for (int w = 1; w < workers; ++w) threads[w] = std::thread(worker, kind, damping);
    worker(kind, damping);
    for (int w = 1; w < workers; ++w) threads[w].join();
}

}  // namespace

int verify_boundary_files(const verify_file* files, int count) {
    auto start = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double next_progress = progress_after;

    bool failed = false;
    int verified = 0;
    long long all_roots = 0, all_spurious = 0, all_missed = 0;
    double all_max = 0.0;
    for (int f = 0; f < count; ++f) {
        const verify_file& file = files[f];
        double stored_beta = 0.0;  // the damping on the file's first line
        if (!read_boundary_file(file.path, epsilon_intervals, table.counts, table.points,
                                &stored_beta)) {
            if (errno != 0)
                std::printf("%s: cannot be read: %s\n", file.path, std::strerror(errno));
            else
                std::printf("%s: damaged: not a valid boundary table of %d epsilon columns\n",
                            file.path, columns);
            failed = true;
        } else {
            check_table(file.kind, file.beta);
            long long roots = 0, spurious = 0, missed = 0;
            double max_deviation = 0.0;
            for (const column_result& r : results) {
                roots += r.roots;
                spurious += r.spurious;
                missed += r.missed;
                if (r.max_deviation > max_deviation) max_deviation = r.max_deviation;
            }
            std::printf(
                "%s: kind %c, beta %g, %lld roots: max deviation %.2e, spurious %lld, "
                "missed %lld\n",
                file.path, file.kind, file.beta, roots, max_deviation, spurious, missed);
            bool beta_differs = std::fabs(stored_beta - file.beta) > 5e-7;
            if (beta_differs)
                std::printf("  beta on the first line is %.6f, not %.6f\n", stored_beta, file.beta);
            int shown = 0;
            for (int i = 0; i < columns; ++i)
                for (int j = 0; j < results[i].listed; ++j, ++shown) {
                    const finding& x = results[i].found[j];
                    if (shown >= verify_detail_lines) continue;
                    double eps = table.points[0][i];
                    if (x.what == 's')
                        std::printf(
                            "  spurious: eps %.6f, stored delta %.6f has no boundary "
                            "within %g\n",
                            eps, x.delta, verify_match_distance);
                    else if (x.what == 'd')
                        std::printf(
                            "  deviation: eps %.6f, stored delta %.6f is %.2e from its "
                            "boundary\n",
                            eps, x.delta, x.distance);
                    else
                        std::printf(
                            "  missed: eps %.6f, boundary at delta %.9f has no stored "
                            "root within %g\n",
                            eps, x.delta, verify_match_distance);
                }
            if (shown > verify_detail_lines)
                std::printf("  ... and %d more\n", shown - verify_detail_lines);
            ++verified;
            all_roots += roots;
            all_spurious += spurious;
            all_missed += missed;
            if (max_deviation > all_max) all_max = max_deviation;
            if (missed > verify_max_missed)
                std::printf("  more than %lld boundaries missed\n", verify_max_missed);
            if (spurious > 0 || max_deviation > verify_max_deviation || beta_differs ||
                missed > verify_max_missed)
                failed = true;
        }
        std::fflush(stdout);
        double now = seconds();
        if (now >= next_progress && f + 1 < count) {
            std::fprintf(stderr, "paravib-boundaries: %d of %d files checked (%.0f s)\n", f + 1,
                         count, now);
            next_progress = now + progress_after;
        }
    }
    std::printf("verified %d files, %lld roots: max deviation %.2e, spurious %lld, missed %lld\n",
                verified, all_roots, all_max, all_spurious, all_missed);
    return failed ? 1 : 0;
}
