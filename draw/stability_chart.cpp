// The stability chart: boundary dots, legend, grid, axes and the red point of the chosen
// (delta, epsilon), in chart_scale_delta and chart_scale_epsilon window units per unit.
#include "draw/stability_chart.h"

#include "draw/draw_backend.h"

namespace {

// A dot is 2.4 pixels across in the 800-pixel window: neighbouring columns (0.002 apart at the
// first scales) merge into a line where a boundary rises steeply.
constexpr double boundary_dot_radius = 0.003;
constexpr double chosen_point_radius = 0.01;

// The grid has 10 cells on each side of its centre, which lies 10 cells up and right of the
// chart's origin (the screen centre unless the explorer moves the view): cells of 1 x 1 covering delta and epsilon from 0 to 20.
constexpr int chart_grid_half_lines = 10;

void draw_chart_legend() {
    draw_text(-0.05f, -0.10f, "(delta,epsilon)stable aera graph");
    draw_text(-0.05f, -0.15f, "red point : given value");
    draw_text(-0.05f, -0.20f, "The area under red and black curves is stable");
    draw_text(-0.05f, -0.25f, "1grid=(1.0, 1.0)");
}

void draw_table(const boundary_table& table, const rgba& colour) {
    draw_boundary_table(chart_origin, chart_scale_delta, chart_scale_epsilon, epsilon_steps,
                        table.counts, table.points, colour);
}

}  // namespace

void draw_stability_chart() {
    draw_stability_chart_layer();
    draw_chosen_point();
}

void draw_stability_chart_layer() {
    draw_chart_legend();

    // beta is compared exactly: only the undamped equation has the four separate curves.
    if (system_kind == 'm' && beta == 0.0) {
        draw_table(boundary_dc1, red);
        draw_table(boundary_ds1, red);
        draw_table(boundary_dc2, black);
        draw_table(boundary_ds2, black);
    } else {
        draw_table(boundary_b1, red);
        draw_table(boundary_b2, black);
    }

    const point grid_centre = {chart_origin.x + chart_grid_half_lines * chart_scale_delta,
                               chart_origin.y + chart_grid_half_lines * chart_scale_epsilon};
    draw_grid(grid_centre, 0.0, chart_grid_half_lines, chart_scale_delta, chart_scale_epsilon);
    draw_axes(chart_origin, 0.0);
}

// Last, so the chosen point lies on top of grid and axes.
void draw_chosen_point() {
    const point chosen = {chart_scale_delta * delta + chart_origin.x,
                          chart_scale_epsilon * epsilon + chart_origin.y};
    draw_disc(chosen, chosen_point_radius, red);
}

void draw_boundary_table(const point& origin, double scale_x, double scale_y, int n,
                         const int* counts, const double (*points)[boundary_columns],
                         const rgba& colour) {
    // The dot centres of the whole table (216 kB at most), gathered so that all its dots take one
    // lighting bracket.
    point dot_centres[boundary_columns * max_roots_per_column];
    const int last_column = n < boundary_columns ? n : boundary_columns - 1;
    int dots = 0;
    for (int i = 0; i <= last_column; ++i) {
        const int roots = counts[i] < max_roots_per_column ? counts[i] : max_roots_per_column;
        if (roots <= 0) continue;
        const double y = scale_y * points[0][i] + origin.y;
        for (int j = 1; j <= roots; ++j) {
            dot_centres[dots++] = {scale_x * points[j][i] + origin.x, y};
        }
    }
    draw_discs(dot_centres, dots, boundary_dot_radius, colour);
    backend().flush();
}
