// Raster of the unstable pairs, one Floquet verdict per pixel of the whole window, and the
// readout of the chosen point.
#include "control/explore_analysis.h"

#include <cmath>
#include <thread>

#include "stability/floquet.h"
#include "state/explore_state.h"
#include "state/numbers.h"
#include "state/program_state.h"

namespace {

// One design pixel in window units.
constexpr double pixel_width = 2.0 / shading_pixels;

double pixel_centre(int index) { return (index + 0.5) * pixel_width - 1.0; }

bool analysed_system() { return system_kind == 'm' || system_kind == 'r'; }

// Where the stiffness never rises above -c < 0 (delta + |epsilon| = -c), u = e^(beta t) y obeys
// u'' = q u with q >= beta^2 + c, and by comparison with the constant q its solutions from (1, 0)
// and (0, 1) grow at least as cosh and sinh of sqrt(beta^2 + c) t: the trace of u's monodromy is
// at least 2 cosh(2 pi sqrt(beta^2 + c)) at determinant 1, so the largest |mu| of y is at least
// e^(2 pi (sqrt(beta^2 + c) - beta)). Where that bound exceeds e^0.01 (a growth of 1 % per
// period, four orders beyond the stability tolerance and eight beyond the integration's error)
// floquet_is_stable is false, and the pixel is unstable without its monodromy being computed.
bool surely_growing(double beta_value, double d, double e) {
    const double c = -(d + std::fabs(e));
    if (!(c > 0.0)) return false;
    const double root = std::sqrt(beta_value * beta_value + c);
    // sqrt(beta^2 + c) - beta, without cancellation for beta > 0.
    const double excess = beta_value > 0.0 ? c / (root + beta_value) : root - beta_value;
    return 2.0 * pi * excess >= 0.01;
}

// One build on the calling thread and on threads - 1 more, all taking rows from one counter.
int build_on_threads(const shading_key& key, unsigned char (*rows)[shading_pixels], int threads) {
    std::atomic<int> next_row{0};
    const std::atomic<bool> never{false};
    std::atomic<int> evaluations{0};
#ifdef __EMSCRIPTEN__
    threads = 1;
#endif
    std::thread helpers[shading_max_threads];
    for (int i = 1; i < threads; ++i)
        helpers[i] =
            std::thread([&] { evaluations += build_shading_rows(key, rows, next_row, never); });
    evaluations += build_shading_rows(key, rows, next_row, never);
    for (int i = 1; i < threads; ++i) helpers[i].join();
    return evaluations;
}

}  // namespace

shading_key present_shading_key() {
    return {system_kind,         beta,           chart_scale_delta,
            chart_scale_epsilon, chart_origin.x, chart_origin.y};
}

bool shading_wanted() { return chart_shown() && analysed_system(); }

int build_shading_rows(const shading_key& key, unsigned char (*rows)[shading_pixels],
                       std::atomic<int>& next_row, const std::atomic<bool>& cancel) {
    int evaluations = 0;
    // Every pixel is decided on its own, by the bound above or by its monodromy matrix: no rule
    // that infers a block's verdict from a few of its pixels can see a tongue narrower than the
    // block (the undamped tongues' tips are far below a pixel wide), nor a boundary that enters
    // and leaves between them.
    for (int row = next_row++; row < shading_pixels; row = next_row++) {
        if (cancel.load(std::memory_order_relaxed)) break;
        const double e = (pixel_centre(row) - key.origin_y) / key.scale_epsilon;
        for (int column = 0; column < shading_pixels; ++column) {
            const double d = (pixel_centre(column) - key.origin_x) / key.scale_delta;
            if (surely_growing(key.beta, d, e)) {
                rows[row][column] = 1;
                continue;
            }
            const transfer_matrix m = floquet_monodromy(key.system, key.beta, d, e);
            // Shaded only where growth is computed, not where the multipliers are not finite.
            rows[row][column] =
                !floquet_is_stable(m) && std::isfinite(floquet_max_modulus(m)) ? 1 : 0;
            ++evaluations;
        }
    }
    return evaluations;
}

int shading_thread_count() {
#ifdef __EMSCRIPTEN__
    return 1;
#else
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    return hardware < 1 ? 1 : hardware > shading_max_threads ? shading_max_threads : hardware;
#endif
}

bool refresh_unstable_shading() {
    if (!shading_wanted() || shading_raster_current()) return false;
    shading_raster& r = unstable_shading;
    r.valid = false;
    r.made_for = present_shading_key();
    shading_build.evaluations = build_on_threads(r.made_for, r.unstable, shading_thread_count());
    ++r.generation;
    r.valid = true;
    return true;
}

void refresh_multiplier_readout() {
    multiplier_readout& r = chosen_point_readout;
    if (!analysed_system()) {
        r.valid = false;
        return;
    }
    if (multiplier_readout_current()) return;
    const transfer_matrix m = floquet_monodromy(system_kind, beta, delta, epsilon);
    r = {true, system_kind, beta, delta, epsilon, floquet_max_modulus(m), floquet_is_stable(m)};
}

void refresh_explore_analysis() {
    refresh_unstable_shading();
    refresh_multiplier_readout();
}

int last_shading_evaluations() { return shading_build.evaluations; }
