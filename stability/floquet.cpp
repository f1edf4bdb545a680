// Floquet analysis: monodromy matrices by a fixed-step Taylor-series integration (Mathieu) or by
// the closed-form half-period transfer matrices (square wave), and what follows from them.
#include "stability/floquet.h"

#include <cmath>

#include "state/numbers.h"

namespace {

constexpr int terms = floquet_taylor_terms;

transfer_matrix nan_matrix() { return {{{NAN, NAN}, {NAN, NAN}}}; }

// p * q: first q, then p.
transfer_matrix product(const transfer_matrix& p, const transfer_matrix& q) {
    transfer_matrix r;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) r.a[i][j] = p.a[i][0] * q.a[0][j] + p.a[i][1] * q.a[1][j];
    return r;
}

// Transfer matrix over a time tau of y'' + 2 beta y' + k y = 0 with constant k. With
// y = exp(-beta t) u, u'' = g u where g = beta^2 - k; c(tau) and s(tau) are the solutions of that
// equation with (u, u') = (1, 0) and (0, 1): cos and sin / omega for g < 0, cosh and sinh / kappa
// for g > 0, 1 and tau for g = 0. Then y1 = e (c + beta s), y2 = e s, y1' = -k e s,
// y2' = e (c - beta s) with e = exp(-beta tau).
transfer_matrix constant_stiffness_transfer(double beta, double k, double tau) {
    double g = beta * beta - k;
    double c, s;
    if (g < 0.0) {
        double omega = std::sqrt(-g);
        c = std::cos(omega * tau);
        s = std::sin(omega * tau) / omega;
    } else if (g > 0.0) {
        double kappa = std::sqrt(g);
        c = std::cosh(kappa * tau);
        s = std::sinh(kappa * tau) / kappa;
    } else {
        c = 1.0;
        s = tau;
    }
    double e = std::exp(-beta * tau);
    if (!std::isfinite(c) && std::isfinite(g)) {
        // cosh overflows (kappa tau > 710) while the damped solutions stay in range: carry the
        // damping factor into the exponentials, e c = (e^((kappa - beta) tau) + e^(-(kappa +
        // beta) tau)) / 2, and likewise for e s, instead of multiplying inf by a tiny e.
        double kappa = std::sqrt(g);
        double up = std::exp((kappa - beta) * tau), down = std::exp(-(kappa + beta) * tau);
        double ec = 0.5 * (up + down), es = 0.5 * (up - down) / kappa;
        return {{{ec + beta * es, es}, {-k * es, ec - beta * es}}};
    }
    return {{{e * (c + beta * s), e * s}, {-k * e * s, e * (c - beta * s)}}};
}

// Magnus step of fourth order for u'' + k(t) u = 0 over [t0, t0 + h], k = delta + eps cos t, k1 and
// k2 at the two Gauss points: Omega = (w, h; -h kbar, -w) with kbar = (k1 + k2) / 2 and
// w = sqrt(3) h^2 (k2 - k1) / 12, and exp(Omega) = C I + S Omega (Omega is traceless). Its error
// comes from the change of k over the step, not from k's size, so a step count that does not grow
// with |k| keeps the accuracy where the Taylor series would need ever shorter steps. The step is
// returned divided by e^|s| (s^2 = w^2 - h^2 kbar), whose logarithm is added to log_scale, so that
// huge growth stays in range.
transfer_matrix magnus_step(double delta, double eps, double t0, double h, double& log_scale) {
    const double offset = 0.5 * 0.577350269189626 * h;  // half of h / sqrt(3)
    double k1 = delta + eps * std::cos(t0 + 0.5 * h - offset);
    double k2 = delta + eps * std::cos(t0 + 0.5 * h + offset);
    double w = 1.73205080756888 * h * h * (k2 - k1) / 12.0;
    double lower = -h * 0.5 * (k1 + k2);
    double s2 = w * w + h * lower;
    double c, s;  // exp(Omega) = c I + s Omega, both divided by e^|s| when growing
    if (s2 > 1e-8) {
        double r = std::sqrt(s2), fall = std::exp(-2.0 * r);
        c = 0.5 * (1.0 + fall);
        s = 0.5 * (1.0 - fall) / r;
        log_scale += r;
    } else if (s2 < -1e-8) {
        double r = std::sqrt(-s2);
        c = std::cos(r);
        s = std::sin(r) / r;
    } else {
        c = 1.0 + 0.5 * s2;
        s = 1.0 + s2 / 6.0;
    }
    return {{{c + s * w, s * h}, {s * lower, c - s * w}}};
}

// One Taylor step of length h for both fundamental solutions of each of lanes equations that
// differ only in delta, state[0][c][l] = y, state[1][c][l] = y' of lane l. With b_k = a_k h^k the
// scaled Taylor coefficients of y(t0 + tau) = sum a_k tau^k and the stiffness over the step
// delta + eps sum_j s_j tau^j, the equation gives
//   (k + 2)(k + 1) b_{k+2} = -2 beta h (k + 1) b_{k+1} - sum_{j=0..k} d_j b_{k-j},
//   d_j = (delta [j = 0] + eps s_j) h^(j + 2),
// and y(t0 + h) = sum b_k, y'(t0 + h) = sum k b_k / h, summed from the smallest terms. d_0 is
// d0[l] for lane l, d_j (j >= 1) is shared; d_j with j > last_d is zero (or too small to matter)
// and left out of the sums. Every lane takes exactly the operations of a single equation, in the
// same order, so its result does not depend on the lanes beside it; the lanes only give the
// processor independent chains of additions to overlap.
template <int lanes>
inline __attribute__((always_inline)) void taylor_step(double (&state)[2][2][lanes], double damping,
                                                       const double (&d0)[lanes], const double* d,
                                                       int last_d, double h) {
    double b0[terms][lanes], b1[terms][lanes];
    for (int l = 0; l < lanes; ++l) {
        b0[0][l] = state[0][0][l];
        b1[0][l] = state[0][1][l];
        b0[1][l] = state[1][0][l] * h;
        b1[1][l] = state[1][1][l] * h;
    }
    for (int k = 0; k + 2 < terms; ++k) {
        double sum0[lanes], sum1[lanes];
        for (int l = 0; l < lanes; ++l) {
            sum0[l] = damping * (k + 1) * b0[k + 1][l] + d0[l] * b0[k][l];
            sum1[l] = damping * (k + 1) * b1[k + 1][l] + d0[l] * b1[k][l];
        }
        int top = k < last_d ? k : last_d;
        for (int j = 1; j <= top; ++j)
            for (int l = 0; l < lanes; ++l) {
                sum0[l] += d[j] * b0[k - j][l];
                sum1[l] += d[j] * b1[k - j][l];
            }
        double divisor = (k + 2.0) * (k + 1.0);
        for (int l = 0; l < lanes; ++l) {
            b0[k + 2][l] = -sum0[l] / divisor;
            b1[k + 2][l] = -sum1[l] / divisor;
        }
    }
    for (int l = 0; l < lanes; ++l) {
        double y0 = 0.0, y1 = 0.0, v0 = 0.0, v1 = 0.0;
        for (int k = terms - 1; k >= 0; --k) {
            y0 += b0[k][l];
            y1 += b1[k][l];
            v0 += k * b0[k][l];
            v1 += k * b1[k][l];
        }
        state[0][0][l] = y0;
        state[0][1][l] = y1;
        state[1][0][l] = v0 / h;
        state[1][1][l] = v1 / h;
    }
}

// floquet_integrate for lanes values of delta at once (system and steps checked by the caller).
template <int lanes>
inline __attribute__((always_inline)) void integrate_lanes(char system, double beta,
                                                           const double (&delta)[lanes], double eps,
                                                           int half_periods, int steps_per_half,
                                                           transfer_matrix (&out)[lanes]) {
    double state[2][2][lanes];
    for (int l = 0; l < lanes; ++l) {
        state[0][0][l] = state[1][1][l] = 1.0;
        state[0][1][l] = state[1][0][l] = 0.0;
    }
    double h = pi / steps_per_half;
    double damping = 2.0 * beta * h;
    // Terms of cos(t0 + tau) below 1e-20 of its size (h^j / j!) are left out; the square wave's
    // stiffness is constant within a step.
    int last_d = 0;
    for (double term = 1.0; system == 'm' && last_d + 1 < terms && term >= 1e-20;) {
        ++last_d;
        term *= h / last_d;
    }
    double d[terms] = {};
    double d0[lanes];
    for (int half = 0; half < half_periods; ++half) {
        for (int step = 0; step < steps_per_half; ++step) {
            if (system == 'm') {
                // Taylor coefficients of cos(t0 + tau): cos(t0 + j pi / 2) / j!.
                double t0 = (half * steps_per_half + step) * h;
                double c = std::cos(t0), s = std::sin(t0), scale = h * h;
                const double phase[4] = {c, -s, -c, s};
                for (int j = 0; j <= last_d; ++j) {
                    if (j > 0) scale *= h / j;
                    d[j] = eps * phase[j % 4] * scale;
                }
                for (int l = 0; l < lanes; ++l) d0[l] = d[0] + delta[l] * h * h;
            } else {
                for (int l = 0; l < lanes; ++l)
                    d0[l] = (half % 2 == 0 ? delta[l] + eps : delta[l] - eps) * h * h;
            }
            taylor_step(state, damping, d0, d, last_d, h);
        }
    }
    for (int l = 0; l < lanes; ++l)
        out[l] = {{{state[0][0][l], state[0][1][l]}, {state[1][0][l], state[1][1][l]}}};
}

}  // namespace

transfer_matrix floquet_integrate(char system, double beta, double delta, double eps,
                                  int half_periods, int steps_per_half) {
    if ((system != 'm' && system != 'r') || steps_per_half < 1) return nan_matrix();
    const double deltas[1] = {delta};
    transfer_matrix out[1];
    integrate_lanes(system, beta, deltas, eps, half_periods, steps_per_half, out);
    return out[0];
}

int floquet_steps_per_half(double beta, double delta, double eps) {
    double rate = std::fabs(beta) + std::sqrt(std::fabs(beta * beta - delta) + std::fabs(eps));
    double steps = std::ceil(pi * rate / floquet_rate_step);
    // Guards the int conversion; far beyond any useful accuracy anyway.
    if (!(steps < 1e6)) return steps == steps ? 1000000 : floquet_min_steps_per_half;
    return steps > floquet_min_steps_per_half ? static_cast<int>(steps)
                                              : floquet_min_steps_per_half;
}

namespace {

// Entries beyond 1e100 would overflow in the products of the whole period: divides them by a
// power of two (exact), whose logarithm goes into log_scale, and leaves every smaller matrix as
// it was (log_scale 0).
transfer_matrix scaled_for_products(transfer_matrix m, double& log_scale) {
    log_scale = 0.0;
    double big = std::fmax(std::fmax(std::fabs(m.a[0][0]), std::fabs(m.a[0][1])),
                           std::fmax(std::fabs(m.a[1][0]), std::fabs(m.a[1][1])));
    if (big > 1e100 && std::isfinite(big)) {
        int exponent;
        std::frexp(big, &exponent);
        for (auto& row : m.a)
            for (double& x : row) x = std::ldexp(x, -exponent);
        log_scale = exponent * 0.693147180559945;
    }
    return m;
}

// Undamped half-period matrix of u'' + (delta + eps cos t) u = 0 divided by e^log_scale. Up to
// floquet_max_taylor_steps steps the Taylor integration; beyond, where |delta| is large (heavy
// damping) and the matrix may leave the double range, Magnus steps with the growth carried in
// log_scale.
transfer_matrix undamped_half_period(double delta, double eps, double& log_scale) {
    int steps = floquet_steps_per_half(0.0, delta, eps);
    if (steps <= floquet_max_taylor_steps)
        return scaled_for_products(floquet_integrate('m', 0.0, delta, eps, 1, steps), log_scale);
    log_scale = 0.0;
    transfer_matrix m = {{{1.0, 0.0}, {0.0, 1.0}}};
    double h = pi / floquet_magnus_steps;
    for (int step = 0; step < floquet_magnus_steps; ++step) {
        m = product(magnus_step(delta, eps, step * h, h, log_scale), m);
        // Keep the largest entry near 1, the factor going into log_scale.
        double big = std::fmax(std::fmax(std::fabs(m.a[0][0]), std::fabs(m.a[0][1])),
                               std::fmax(std::fabs(m.a[1][0]), std::fabs(m.a[1][1])));
        if (big > 0.0 && std::isfinite(big)) {
            for (auto& row : m.a)
                for (double& x : row) x /= big;
            log_scale += std::log(big);
        }
    }
    return m;
}

// The damped Mathieu monodromy from the undamped half-period matrix at delta - beta^2 divided by
// e^log_scale. With y = exp(-beta t) u the Mathieu equation becomes
// u'' + (delta - beta^2 + eps cos t) u = 0, whose stiffness is even in t. Its half-period matrix
// (a b; c d), determinant 1, then gives the whole period: u1 is even and u2 odd, so reflecting
// t -> 2 pi - t yields M_u = (ad + bc, 2bd; 2ac, ad + bc). Back to y: (y, y') = exp(-beta t) S
// (u, u') with S = (1 0; -beta 1), so M = exp(-2 pi beta) S M_u S^-1. The products of the scaled
// matrix carry e^2L: the growth e^(2L) and the decay exp(-2 pi beta) are joined in one exponent,
// which stays finite wherever the monodromy is.
transfer_matrix damped_monodromy(double beta, const transfer_matrix& h, double log_scale) {
    double a = h.a[0][0], b = h.a[0][1], c = h.a[1][0], d = h.a[1][1];
    double diagonal = a * d + b * c, upper = 2.0 * b * d, lower = 2.0 * a * c;
    double decay = std::exp(2.0 * log_scale - two_pi * beta);
    return {{{decay * (diagonal + beta * upper), decay * upper},
             {decay * (lower - beta * beta * upper), decay * (diagonal - beta * upper)}}};
}

// Lanes of one batched integration in floquet_half_periods.
constexpr int batch_lanes = 8;

// Undamped half periods of one batch of lanes. On x86-64 Linux it is compiled a second time for
// AVX2, taken where the processor has it: vectors twice as wide, the very same operations lane by
// lane (no fused multiply-add), so the same bits.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "default")))
#endif
void integrate_batch(const double (&delta)[batch_lanes], double eps, int steps,
                     transfer_matrix (&out)[batch_lanes]) {
    integrate_lanes('m', 0.0, delta, eps, 1, steps, out);
}

}  // namespace

transfer_matrix floquet_half_period(char system, double beta, double delta, double eps) {
    if (system == 'r') return constant_stiffness_transfer(beta, delta + eps, pi);
    return floquet_integrate(system, beta, delta, eps, 1, floquet_steps_per_half(beta, delta, eps));
}

void floquet_half_periods(double eps, const double* delta, int count, transfer_matrix* out) {
    for (int first = 0; first < count;) {
        // The next run of up to batch_lanes values that take the same steps; a short run fills
        // its spare lanes with its last value.
        int steps = floquet_steps_per_half(0.0, delta[first], eps);
        int run = 1;
        while (run < batch_lanes && first + run < count &&
               floquet_steps_per_half(0.0, delta[first + run], eps) == steps)
            ++run;
        double lane_delta[batch_lanes];
        for (int l = 0; l < batch_lanes; ++l)
            lane_delta[l] = delta[first + (l < run ? l : run - 1)];
        transfer_matrix lane_out[batch_lanes];
        integrate_batch(lane_delta, eps, steps, lane_out);
        for (int l = 0; l < run; ++l) out[first + l] = lane_out[l];
        first += run;
    }
}

transfer_matrix floquet_monodromy_of_half(double beta, const transfer_matrix& half) {
    double log_scale;
    transfer_matrix h = scaled_for_products(half, log_scale);
    return damped_monodromy(beta, h, log_scale);
}

transfer_matrix floquet_monodromy(char system, double beta, double delta, double eps) {
    if (system == 'r')
        return product(constant_stiffness_transfer(beta, delta - eps, pi),
                       constant_stiffness_transfer(beta, delta + eps, pi));
    if (system != 'm') return nan_matrix();
    double log_scale;
    transfer_matrix h = undamped_half_period(delta - beta * beta, eps, log_scale);
    return damped_monodromy(beta, h, log_scale);
}

floquet_multipliers floquet_multipliers_of(const transfer_matrix& m) {
    double tr = m.a[0][0] + m.a[1][1];
    double det = m.a[0][0] * m.a[1][1] - m.a[0][1] * m.a[1][0];
    // tr^2 - 4 det written without the cancellation of two large terms.
    double diff = m.a[0][0] - m.a[1][1];
    double disc = diff * diff + 4.0 * m.a[0][1] * m.a[1][0];
    floquet_multipliers mu;
    if (disc >= 0.0) {
        double mu1 = 0.5 * (tr + std::copysign(std::sqrt(disc), tr));
        mu.re[0] = mu1;
        mu.re[1] = mu1 != 0.0 ? det / mu1 : 0.0;
        mu.im[0] = mu.im[1] = 0.0;
    } else {
        mu.re[0] = mu.re[1] = 0.5 * tr;
        mu.im[0] = 0.5 * std::sqrt(-disc);
        mu.im[1] = -mu.im[0];
    }
    return mu;
}

double floquet_max_modulus(const transfer_matrix& m) {
    floquet_multipliers mu = floquet_multipliers_of(m);
    return std::hypot(mu.re[0], mu.im[0]);
}

bool floquet_is_stable(const transfer_matrix& m) {
    return floquet_max_modulus(m) <= 1.0 + floquet_stability_tolerance;
}

double floquet_p_t(const transfer_matrix& m) {
    double det = m.a[0][0] * m.a[1][1] - m.a[0][1] * m.a[1][0];
    return 1.0 - (m.a[0][0] + m.a[1][1]) + det;
}

double floquet_p_2t(const transfer_matrix& m) {
    double det = m.a[0][0] * m.a[1][1] - m.a[0][1] * m.a[1][0];
    return 1.0 + (m.a[0][0] + m.a[1][1]) + det;
}
