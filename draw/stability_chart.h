// The stability chart in the (delta, epsilon) plane, drawn over the response view: the boundary
// tables of the chosen equation as dots, the legend, a grid of 1 x 1 cells, the axes and the
// chosen (delta, epsilon) as a red point.
#pragma once

#include "draw/draw_primitives.h"
#include "state/program_state.h"

// Undamped Mathieu equation (system_kind 'm', beta exactly 0): Dc1, Ds1 red, Dc2, Ds2 black;
// otherwise B1 red, B2 black (period T red, period 2T black). Reads the program state only.
void draw_stability_chart();

// The two parts draw_stability_chart draws, in this order: everything the chosen point does not
// move (legend, boundary dots, grid, axes), then the chosen (delta, epsilon) as a red point.
void draw_stability_chart_layer();
void draw_chosen_point();

// One dot of radius 0.003 in colour for each root of columns 0 ... n of a boundary table:
// x = scale_x * points[j][i] + origin.x, y = scale_y * points[0][i] + origin.y for the rows
// j = 1 ... counts[i]. A column with count 0 draws nothing (its no-root marker is not a root);
// columns beyond the table and rows beyond its max_roots_per_column root rows are never read.
void draw_boundary_table(const point& origin, double scale_x, double scale_y, int n,
                         const int* counts, const double (*points)[boundary_columns],
                         const rgba& colour);
