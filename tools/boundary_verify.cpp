// Verification of stored boundary tables by Floquet analysis. Files are read in batches and
// checked column by column, the columns shared among the worker threads. Within a column every
// Mathieu table of the batch reads its delta grid from one set of undamped half-period matrices:
// a damped table at beta needs them at delta - beta^2, so tables of several dampings, and B1 and
// B2 of one damping, share most of their integrations.
#include "tools/boundary_verify.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
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

// The values of the boundary function at n points (n <= max_points), each exactly what value_at
// gives; the Mathieu integrations are made side by side.
constexpr int max_points = 3 * max_roots_per_column;
void values_at(const column_problem& p, const double* deltas, int n, double* out) {
    char family = matrix_family(p.kind);
    if (family == 'r') {
        for (int i = 0; i < n; ++i) out[i] = value_at(p, deltas[i]);
        return;
    }
    // Points whose monodromy floquet_monodromy would not take from a Taylor half period are
    // evaluated directly.
    double shifted[max_points] = {};
    int index[max_points], shared = 0;
    for (int i = 0; i < n; ++i) {
        double at = family == 'h' ? deltas[i] : deltas[i] - p.damping * p.damping;
        if (family == 'm' && floquet_steps_per_half(0.0, at, p.eps) > floquet_max_taylor_steps) {
            out[i] = value_at(p, deltas[i]);
            continue;
        }
        index[shared] = i;
        shifted[shared++] = at;
    }
    transfer_matrix half[max_points];
    floquet_half_periods(p.eps, shifted, shared, half);
    for (int s = 0; s < shared; ++s)
        out[index[s]] = boundary_function(
            p.kind, family == 'h' ? half[s] : floquet_monodromy_of_half(p.damping, half[s]));
}

// The boundary inside [a, b], whose ends have values of opposite sign (or a zero): false
// position with the Illinois halving of the stale end, until the bracket is shorter than
// refine_tolerance. Given stored roots (count of them), it stops as soon as the bracket lies
// within verify_match_distance of one of them and sets *matched: the boundary that the whole
// refinement would return lies in every later bracket, so it is matched whatever the remaining
// steps give.
double refine(const column_problem& p, double a, double fa, double b, double fb,
              const double* roots = nullptr, int count = 0, bool* matched = nullptr) {
    if (fa == 0.0) return a;
    if (fb == 0.0) return b;
    int kept_end = 0;  // which end stayed in the previous step: -1 a, +1 b
    for (int step = 0; step < max_refine_steps && std::fabs(b - a) > refine_tolerance; ++step) {
        for (int j = 0; j < count; ++j)
            if (std::fabs(roots[j] - a) <= verify_match_distance &&
                std::fabs(roots[j] - b) <= verify_match_distance) {
                *matched = true;
                return NAN;
            }
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
// NAN when the function changes sign nowhere there. near[0 ... 2] are the values at root,
// root - search_widths[0] and root + search_widths[0].
double boundary_near(const column_problem& p, double root, const double* near) {
    double f0 = near[0];
    if (f0 == 0.0) return root;
    for (double width : search_widths) {
        double lo = root - width, hi = root + width;
        double flo = near[1], fhi = near[2];
        if (width != search_widths[0]) {
            double ends[2] = {lo, hi}, values[2];
            values_at(p, ends, 2, values);
            flo = values[0];
            fhi = values[1];
        }
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
    char what;  // 's' spurious, 'o' beyond the range, 'd' deviation above the limit, 'm' missed
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

// Files read and checked together; the half-period matrices are shared within a batch.
constexpr int batch_files = 32;
constexpr int max_shared = batch_files * verify_grid_points;

// The files of the batch: their tables, what reading them gave, the results of their columns.
boundary_table tables[batch_files];
bool readable[batch_files];
int read_error[batch_files];  // errno of a file that could not be read, 0 for a damaged one
double stored_beta[batch_files];
column_result results[batch_files][columns];

// The distinct values delta' (ascending, -0 before +0) at which the batch's Mathieu tables need
// the undamped half-period matrix on their delta grid (delta, or delta - beta^2 for kinds 5 and
// 6), and for each file and grid point the index of its value (-1 for the square wave).
double shared_delta[max_shared];
int shared_count;
int grid_index[batch_files][verify_grid_points];

// Each worker's half-period matrices of one column at shared_delta.
transfer_matrix shared_half[max_workers][max_shared];

double grid_delta(int k) { return verify_grid_first + k * verify_grid_step; }

// Orders doubles by value, -0 before +0, as unsigned integers.
unsigned long long order_key(double x) {
    unsigned long long bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits >> 63 ? ~bits : bits | 1ULL << 63;
}

struct grid_need {
    unsigned long long key;
    int file;
    int point;
};
grid_need needs[max_shared];

// Fills shared_delta and grid_index for the readable files of the batch.
void plan_shared_grid(const verify_file* files, int count) {
    int need_count = 0;
    for (int f = 0; f < count; ++f) {
        char family = matrix_family(files[f].kind);
        for (int k = 0; k < verify_grid_points; ++k) {
            grid_index[f][k] = -1;
            if (!readable[f] || family == 'r') continue;
            double beta = files[f].beta;
            double at = family == 'h' ? grid_delta(k) : grid_delta(k) - beta * beta;
            needs[need_count++] = {order_key(at), f, k};
        }
    }
    std::sort(needs, needs + need_count,
              [](const grid_need& x, const grid_need& y) { return x.key < y.key; });
    shared_count = 0;
    for (int i = 0; i < need_count; ++i) {
        const grid_need& n = needs[i];
        if (i == 0 || n.key != needs[i - 1].key) {
            int f = n.file, k = n.point;
            double beta = files[f].beta;
            shared_delta[shared_count++] =
                matrix_family(files[f].kind) == 'h' ? grid_delta(k) : grid_delta(k) - beta * beta;
        }
        grid_index[n.file][n.point] = shared_count - 1;
    }
}

// The boundary function of file f at grid point k of a column, from the shared half-period
// matrices where they are exactly what a direct evaluation gives: the column's epsilon is the one
// they were integrated at and the point lies in [first, last), where the Mathieu monodromy takes
// Taylor steps.
double grid_value(const verify_file& file, const column_problem& p, int f, int k,
                  const transfer_matrix* half, double shared_eps, int first, int last) {
    int i = grid_index[f][k];
    if (i >= first && i < last && p.eps == shared_eps) {
        if (matrix_family(file.kind) == 'h') return boundary_function(file.kind, half[i]);
        return boundary_function(file.kind, floquet_monodromy_of_half(file.beta, half[i]));
    }
    return value_at(p, grid_delta(k));
}

// Roots farther than this outside the grid's range (-1 ... 10) cannot come from a scan of it and
// are spurious without being integrated.
bool beyond_range(double root) {
    return !(root >= verify_grid_first - verify_range_margin &&
             root <= grid_delta(verify_grid_points - 1) + verify_range_margin);
}

void check_column(const verify_file& file, int f, int column, const transfer_matrix* half,
                  double shared_eps, int first, int last) {
    const boundary_table& table = tables[f];
    column_problem p = {file.kind, file.beta, table.points[0][column]};
    column_result& r = results[f][column];
    r = {};
    int count = table.counts[column];
    auto stored_root = [&](int j) { return table.points[1 + j][column]; };

    // Stored roots against the boundary next to each, the values at and beside them first.
    r.roots = count;
    double roots[max_roots_per_column], near_points[max_points], near[max_points];
    int near_count = 0;
    for (int j = 0; j < count; ++j) {
        roots[j] = stored_root(j);
        if (beyond_range(roots[j])) continue;
        near_points[near_count++] = roots[j];
        near_points[near_count++] = roots[j] - search_widths[0];
        near_points[near_count++] = roots[j] + search_widths[0];
    }
    values_at(p, near_points, near_count, near);
    for (int j = 0, at = 0; j < count; ++j) {
        double root = roots[j];
        if (beyond_range(root)) {
            ++r.spurious;
            note(r, 'o', root, 0.0);
            continue;
        }
        double t = boundary_near(p, root, near + at);
        at += 3;
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
    double fa = grid_value(file, p, f, 0, half, shared_eps, first, last);
    for (int k = 1; k < verify_grid_points; ++k) {
        double fb = grid_value(file, p, f, k, half, shared_eps, first, last);
        if (sign_change(fa, fb)) {
            bool matched = false;
            double t = refine(p, grid_delta(k - 1), fa, grid_delta(k), fb, roots, count, &matched);
            for (int j = 0; j < count && !matched; ++j)
                matched = std::fabs(roots[j] - t) <= verify_match_distance;
            if (!matched) {
                ++r.missed;
                note(r, 'm', t, 0.0);
            }
        }
        fa = fb;
    }
}

// The batch being checked, and the progress of its columns.
const verify_file* batch;
int batch_count;
int batch_offset;  // index of the batch's first file in the whole run
std::atomic<int> next_column;
std::atomic<int> columns_done;
std::mutex progress_lock;
std::chrono::steady_clock::time_point run_start;
std::atomic<double> next_progress;  // seconds of running at which progress is next reported

double seconds_running() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - run_start).count();
}

void report_columns() {
    std::lock_guard<std::mutex> hold(progress_lock);
    double now = seconds_running();
    if (now < next_progress) return;
    if (batch_count == 1)
        std::fprintf(stderr, "paravib-boundaries: %d of %d columns of file %d checked (%.0f s)\n",
                     columns_done.load(), columns, batch_offset + 1, now);
    else
        std::fprintf(
            stderr, "paravib-boundaries: %d of %d columns of files %d ... %d checked (%.0f s)\n",
            columns_done.load(), columns, batch_offset + 1, batch_offset + batch_count, now);
    next_progress = now + progress_after;
}

void worker(int slot) {
    transfer_matrix* half = shared_half[slot];
    for (int column = next_column++; column < columns; column = next_column++) {
        // The column's epsilon, from its first Mathieu file; a file whose epsilon differs (a hand-
        // edited one) evaluates its grid directly.
        double eps = NAN;
        for (int f = 0; f < batch_count && eps != eps; ++f)
            if (readable[f] && matrix_family(batch[f].kind) != 'r')
                eps = tables[f].points[0][column];
        // The half-period matrices the Taylor integration gives; steps grow with |delta'|, so
        // those lie in one run of the ascending values.
        int first = 0, last = shared_count;
        if (eps == eps) {
            while (first < last &&
                   floquet_steps_per_half(0.0, shared_delta[first], eps) > floquet_max_taylor_steps)
                ++first;
            while (last > first && floquet_steps_per_half(0.0, shared_delta[last - 1], eps) >
                                       floquet_max_taylor_steps)
                --last;
            floquet_half_periods(eps, shared_delta + first, last - first, half + first);
        }
        for (int f = 0; f < batch_count; ++f)
            if (readable[f]) check_column(batch[f], f, column, half, eps, first, last);
        ++columns_done;
        if (seconds_running() >= next_progress) report_columns();
    }
}

// Checks every column of the batch's tables with the available hardware threads.
void check_batch() {
    int workers = static_cast<int>(std::thread::hardware_concurrency());
    if (workers < 1) workers = 1;
    if (workers > max_workers) workers = max_workers;
    next_column = 0;
    columns_done = 0;
    std::thread threads[max_workers];
    for (int w = 1; w < workers; ++w) threads[w] = std::thread(worker, w);
    worker(0);
    for (int w = 1; w < workers; ++w) threads[w].join();
}

}  // namespace

int verify_boundary_files(const verify_file* files, int count) {
    run_start = std::chrono::steady_clock::now();
    next_progress = progress_after;

    bool failed = false;
    int verified = 0;
    long long all_roots = 0, all_spurious = 0, all_missed = 0;
    double all_max = 0.0;
    for (int start = 0; start < count; start += batch_files) {
        batch = files + start;
        batch_offset = start;
        batch_count = count - start < batch_files ? count - start : batch_files;
        for (int f = 0; f < batch_count; ++f) {
            boundary_table& table = tables[f];
            errno = 0;
            readable[f] = read_boundary_file(batch[f].path, epsilon_intervals, table.counts,
                                             table.points, &stored_beta[f]);
            read_error[f] = readable[f] ? 0 : errno;
        }
        plan_shared_grid(batch, batch_count);
        check_batch();

        for (int f = 0; f < batch_count; ++f) {
            const verify_file& file = batch[f];
            const boundary_table& table = tables[f];
            if (!readable[f]) {
                if (read_error[f] != 0)
                    std::printf("%s: cannot be read: %s\n", file.path,
                                std::strerror(read_error[f]));
                else
                    std::printf("%s: damaged: not a valid boundary table of %d epsilon columns\n",
                                file.path, columns);
                failed = true;
                continue;
            }
            long long roots = 0, spurious = 0, missed = 0;
            double max_deviation = 0.0;
            for (const column_result& r : results[f]) {
                roots += r.roots;
                spurious += r.spurious;
                missed += r.missed;
                if (r.max_deviation > max_deviation) max_deviation = r.max_deviation;
            }
            std::printf(
                "%s: kind %c, beta %g, %lld roots: max deviation %.2e, spurious %lld, "
                "missed %lld\n",
                file.path, file.kind, file.beta, roots, max_deviation, spurious, missed);
            bool beta_differs = std::fabs(stored_beta[f] - file.beta) > 5e-7;
            if (beta_differs)
                std::printf("  beta on the first line is %.6f, not %.6f\n", stored_beta[f],
                            file.beta);
            int shown = 0;
            for (int i = 0; i < columns; ++i)
                for (int j = 0; j < results[f][i].listed; ++j, ++shown) {
                    const finding& x = results[f][i].found[j];
                    if (shown >= verify_detail_lines) continue;
                    double eps = table.points[0][i];
                    if (x.what == 's')
                        std::printf(
                            "  spurious: eps %.6f, stored delta %.6f has no boundary "
                            "within %g\n",
                            eps, x.delta, verify_match_distance);
                    else if (x.what == 'o')
                        std::printf(
                            "  spurious: eps %.6f, stored delta %g lies more than %g outside "
                            "the scanned delta range %g ... %g\n",
                            eps, x.delta, verify_range_margin, verify_grid_first,
                            grid_delta(verify_grid_points - 1));
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
        double now = seconds_running();
        int done = start + batch_count;
        if (now >= progress_after && done < count) {
            std::lock_guard<std::mutex> hold(progress_lock);
            std::fprintf(stderr, "paravib-boundaries: %d of %d files checked (%.0f s)\n", done,
                         count, now);
            next_progress = now + progress_after;
        }
    }
    std::printf("verified %d files, %lld roots: max deviation %.2e, spurious %lld, missed %lld\n",
                verified, all_roots, all_max, all_spurious, all_missed);
    return failed ? 1 : 0;
}
