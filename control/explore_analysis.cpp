// Raster of the unstable pairs by adaptive subdivision, and the readout of the chosen point.
#include "control/explore_analysis.h"

#include <algorithm>
#include <cmath>

#include "stability/floquet.h"
#include "state/explore_state.h"
#include "state/program_state.h"

namespace {

// One design pixel in window units.
constexpr double pixel_width = 2.0 / shading_pixels;

constexpr unsigned char unknown_pixel = 0;
constexpr unsigned char filled_pixel = 1;
constexpr unsigned char exact_pixel = 2;

double pixel_centre(int index) { return (index + 0.5) * pixel_width - 1.0; }

double delta_of_column(int column) {
    return (pixel_centre(column) - chart_origin.x) / chart_scale_delta;
}

double epsilon_of_row(int row) {
    return (pixel_centre(row) - chart_origin.y) / chart_scale_epsilon;
}

bool inside_grid(double value) { return value >= 0.0 && value <= chart_grid_extent; }

// The exact verdict of one pixel, and its g for the subdivision (NaN counts as unstable and
// forces refinement around it).
void evaluate(int row, int column) {
    if (shading_build.known[row][column] == exact_pixel) return;
    const transfer_matrix m =
        floquet_monodromy(system_kind, beta, delta_of_column(column), epsilon_of_row(row));
    const double trace = m.a[0][0] + m.a[1][1];
    const double det = m.a[0][0] * m.a[1][1] - m.a[0][1] * m.a[1][0];
    shading_build.g[row][column] = static_cast<float>(std::fabs(trace) - (1.0 + det));
    unstable_shading.unstable[row][column] = floquet_is_stable(m) ? 0 : 1;
    shading_build.known[row][column] = exact_pixel;
    ++shading_build.evaluations;
}

void fill(int row0, int row1, int column0, int column1, unsigned char verdict) {
    for (int row = row0; row <= row1; ++row)
        for (int column = column0; column <= column1; ++column)
            if (shading_build.known[row][column] == unknown_pixel) {
                unstable_shading.unstable[row][column] = verdict;
                shading_build.known[row][column] = filled_pixel;
            }
}

// The block of pixels row0 ... row1, column0 ... column1 (corners evaluated exactly).
void resolve_block(int row0, int row1, int column0, int column1) {
    const int rows[2] = {row0, row1}, columns[2] = {column0, column1};
    unsigned char verdicts = 0;
    double g_min = HUGE_VAL, g_max = -HUGE_VAL, g_nearest = HUGE_VAL;
    bool finite = true;
    for (int r : rows)
        for (int c : columns) {
            evaluate(r, c);
            verdicts |= static_cast<unsigned char>(1 << unstable_shading.unstable[r][c]);
            const double g = shading_build.g[r][c];
            finite = finite && std::isfinite(g);
            g_min = std::fmin(g_min, g);
            g_max = std::fmax(g_max, g);
            g_nearest = std::fmin(g_nearest, std::fabs(g));
        }
    if (row1 - row0 <= 1 && column1 - column0 <= 1) return;  // every pixel is a corner
    if (finite && verdicts != 3 && g_nearest > g_max - g_min) {
        fill(row0, row1, column0, column1, unstable_shading.unstable[row0][column0]);
        return;
    }
    // Halves of each side longer than one pixel step; a side of one step stays whole.
    const int row_cuts[3] = {row0, (row0 + row1) / 2, row1};
    const int column_cuts[3] = {column0, (column0 + column1) / 2, column1};
    const int row_parts = row1 - row0 > 1 ? 2 : 1, column_parts = column1 - column0 > 1 ? 2 : 1;
    for (int i = 0; i < row_parts; ++i)
        for (int j = 0; j < column_parts; ++j)
            resolve_block(row_parts == 2 ? row_cuts[i] : row0,
                          row_parts == 2 ? row_cuts[i + 1] : row1,
                          column_parts == 2 ? column_cuts[j] : column0,
                          column_parts == 2 ? column_cuts[j + 1] : column1);
}

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
    shading_build.evaluations = 0;
    for (int row = r.row_begin; row < r.row_end; ++row)
        for (int column = r.column_begin; column < r.column_end; ++column)
            shading_build.known[row][column] = unknown_pixel;
    for (int row = r.row_begin; row < r.row_end - 1; row += shading_lattice) {
        const int last_row = std::min(row + shading_lattice, r.row_end - 1);
        for (int column = r.column_begin; column < r.column_end - 1; column += shading_lattice) {
            resolve_block(row, last_row, column,
                          std::min(column + shading_lattice, r.column_end - 1));
        }
    }
    // A single row or column of pixels has no blocks: each pixel is evaluated itself.
    if (r.row_end - r.row_begin == 1 || r.column_end - r.column_begin == 1) {
        for (int row = r.row_begin; row < r.row_end; ++row)
            for (int column = r.column_begin; column < r.column_end; ++column)
                evaluate(row, column);
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
