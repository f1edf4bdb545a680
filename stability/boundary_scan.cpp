// Stepped sign-change search in delta with false-position refinement, column by column in epsilon.
// What it cannot see: two roots inside one step (no sign change), a root where D touches zero
// without crossing it (unless a scan point hits it), roots below -1 or above the last scan point.
#include "stability/boundary_scan.h"

#include <cmath>

#include "stability/hill_banded.h"
#include "stability/rectangular_wave.h"

namespace {

constexpr double delta_start = -1.0;
constexpr double delta_end = 10.0;
constexpr double fine_step = 0.02;  // below epsilon, where the tongues are narrow
constexpr double coarse_step = 0.1;

// Equal and of the same sign: for the finite estimates of the refinement, the same double, so that
// D there has the very value it had before.
bool same_double(double x, double y) { return x == y && std::signbit(x) == std::signbit(y); }

// False position inside the bracket [a, b] (Fa, Fb of opposite signs), accepting r once
// |D(r) / Fc| < root_tolerance, Fc being the value at the bracket's first right end. The estimate
// stays finite: where infinite values make it NaN, the midpoint of the bracket is taken instead.
// A NaN value ends the refinement at that estimate, and so does the step bound; the bracket still
// holds the sign change, so the last estimate is the best root there is.
// An estimate that lands exactly on the end it would replace leaves the bracket as it was, so every
// later step would compute the same estimate again: the refinement ends there with that estimate,
// which is what the step bound would have returned. This happens when D overflows on both sides
// of its sign change (B1 at |beta| = 1e20): halving then stops at two neighbouring doubles.
double refine_root(characteristic_function evaluate, char kind, double beta, double eps, double a,
                   double fa, double b, double fb, double fc) {
    double r = a;
    for (int step = 0; step < max_false_position_steps; ++step) {
        r = a - fa * (b - a) / (fb - fa);
        if (!std::isfinite(r)) r = 0.5 * (a + b);
        double fr = evaluate(kind, beta, r, eps);
        if (std::fabs(fr / fc) < root_tolerance || std::isnan(fr)) return r;
        if (fa * fr > 0.0) {
            if (same_double(r, a)) return r;
            a = r;
            fa = fr;
        } else {
            if (same_double(r, b)) return r;
            b = r;
            fb = fr;
        }
    }
    return r;
}

// The walk's values. For B1 and B2 evaluated by the program itself, the value at a walk point x
// comes with the values at the next walk points up to the end of the range (four points in all),
// computed in one interleaved elimination and kept for the next steps; the values are those of
// single evaluations, only the order of the work differs.
// Points per interleaved elimination in the walk: hill_batch_size, or 1 where one point per call
// measures faster (WebAssembly, whose build sets PARAVIB_WALK_POINTS=1). The values are the same.
#ifndef PARAVIB_WALK_POINTS
#define PARAVIB_WALK_POINTS hill_batch_size
#endif
constexpr int walk_points = PARAVIB_WALK_POINTS;
static_assert(walk_points >= 1 && walk_points <= hill_batch_size, "walk points per call");

struct walk_values {
    characteristic_function evaluate;
    char kind;
    double beta, eps;
    double points[hill_batch_size];  // points[next ... count - 1] are evaluated ahead
    double values[hill_batch_size];
    int next, count;
};

double walk_value(walk_values& w, double x) {
    if (w.next < w.count && x == w.points[w.next]) return w.values[w.next++];
    if ((w.kind == '5' || w.kind == '6') && w.evaluate == characteristic_value) {
        int n = 0;
        for (double p = x; n < walk_points && (n == 0 || p <= delta_end); ++n) {
            w.points[n] = p;
            p = p + (p < w.eps ? fine_step : coarse_step);
        }
        hill_banded_batch(w.kind, w.beta, w.points, n, w.eps, w.values);
        w.next = 1;
        w.count = n;
        return w.values[0];
    }
    return w.evaluate(w.kind, w.beta, x, w.eps);
}

}  // namespace

double characteristic_value(char kind, double beta, double delta, double eps) {
    switch (kind) {
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6': return hill_banded(kind, beta, delta, eps);
        case 'A':
        case 'B': return rectangular_wave_characteristic(kind, beta, delta, eps);
        default: return NAN;
    }
}

// The scan points are running sums from -1, not multiples of the step. A NaN value is never a sign
// change (its products and ratios compare false), so non-finite stretches are walked through.
int delta_root_search(char kind, double beta, double* roots, double eps,
                      characteristic_function evaluate) {
    walk_values walk = {evaluate, kind, beta, eps, {}, {}, 0, 0};
    int count = 0;
    double a = delta_start;
    double fa = walk_value(walk, a);
    while (count < max_roots_per_column) {
        double s = a < eps ? fine_step : coarse_step;
        double b = a + s;
        if (b > delta_end) break;
        double fb = walk_value(walk, b);

        double root, c, fc;
        if (std::fabs(fb / fa) < root_tolerance) {
            // Direct hit: a further root closer than one step above it is not looked for.
            root = b;
            c = b + s;
            fc = walk_value(walk, c);
        } else if (fa * fb < 0.0) {
            c = b;
            fc = fb;
            root = refine_root(evaluate, kind, beta, eps, a, fa, b, fb, fc);
        } else {
            a = b;
            fa = fb;
            continue;
        }
        roots[count] = root;
        count = count + 1;
        a = c;
        fa = fc;
    }
    return count;
}

void boundary_scan(char kind, double beta, int* counts, double (*points)[boundary_columns], int n,
                   characteristic_function evaluate) {
    // The roots of one column, in the order found; on the stack, so that scans of other tables
    // can run at the same time on other threads.
    double root_list[root_list_size];
    for (int i = 0; i <= n; ++i) {
        double eps = i * epsilon_spacing;
        int m = delta_root_search(kind, beta, root_list, eps, evaluate);
        counts[i] = m;
        points[0][i] = eps;
        if (m > 0) {
            for (int j = 1; j <= m; ++j) points[j][i] = root_list[j - 1];
        } else {
            points[1][i] = no_root_marker;
        }
    }
}
