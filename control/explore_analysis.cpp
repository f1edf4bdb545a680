// Raster of the unstable pairs, one Floquet verdict per pixel, and the readout of the chosen point.
#include "control/explore_analysis.h"

#include <cmath>

#include "stability/floquet.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

// One design pixel in window units.
constexpr double pixel_width = 2.0 / shading_pixels;

double pixel_centre(int index) { return (index + 0.5) * pixel_width - 1.0; }

double delta_of_column(int column) {
    return (pixel_centre(column) - chart_origin.x) / chart_scale_delta;
}

double epsilon_of_row(int row) {
    return (pixel_centre(row) - chart_origin.y) / chart_scale_epsilon;
}

bool inside_grid(double value) { return value >= 0.0 && value <= chart_grid_extent; }

bool analysed_system() { return system_kind == 'm' || system_kind == 'r'; }

}  // namespace

bool refresh_unstable_shading() {
    if (!chart_shown() || !analysed_system() || shading_raster_current()) return false;
    shading_raster& r = unstable_shading;
    r.valid = false;
    r.made_for = {system_kind,         beta,           chart_scale_delta,
                  chart_scale_epsilon, chart_origin.x, chart_origin.y};
    // The grid's quadrant: pixels whose centres lie at 0 <= delta, epsilon <= chart_grid_extent.
    r.column_begin = r.column_end = 0;
    r.row_begin = r.row_end = 0;
    for (int i = 0; i < shading_pixels; ++i) {
        if (inside_grid(delta_of_column(i))) {
            if (r.column_end == 0) r.column_begin = i;
            r.column_end = i + 1;
        }
        if (inside_grid(epsilon_of_row(i))) {
            if (r.row_end == 0) r.row_begin = i;
            r.row_end = i + 1;
        }
    }
    // Every pixel is decided by its own monodromy matrix: no rule that infers a block's verdict
    // from a few of its pixels can see a tongue narrower than the block (the undamped tongues'
    // tips are far below a pixel wide), nor a boundary that enters and leaves between them.
    shading_build.evaluations = 0;
    for (int row = r.row_begin; row < r.row_end; ++row) {
        const double e = epsilon_of_row(row);
        for (int column = r.column_begin; column < r.column_end; ++column) {
            const transfer_matrix m =
                floquet_monodromy(system_kind, beta, delta_of_column(column), e);
            // Shaded only where growth is computed, not where the multipliers are not finite.
            r.unstable[row][column] =
                !floquet_is_stable(m) && std::isfinite(floquet_max_modulus(m)) ? 1 : 0;
        }
        shading_build.evaluations += r.column_end - r.column_begin;
    }
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
