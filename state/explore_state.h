// The state of the explorer's teaching aids (paravib-explore): the switch that turns them on, the
// phase-plane toggle, the cached raster of unstable (delta, epsilon) pairs under the chart, the
// multiplier readout of the chosen point and the folder that exported pictures go to. paravib
// itself leaves explore_aids false, and then nothing here is read or written.
#pragma once

// The raster covers the window in design pixels (800 x 800, one window unit is 400 of them); a
// resized window stretches it with the rest of the picture.
constexpr int shading_pixels = 800;

// Longest picture folder path kept, terminating NUL included.
constexpr int picture_folder_capacity = 4096;

extern bool explore_aids;  // true only in paravib-explore: the aids below are drawn and handled
extern bool phase_plane_shown;  // key 'p': the (y, v) trajectory in place of the mass picture

// Verdicts of the parameter pairs under the chart, one byte per design pixel: 1 where the largest
// Floquet multiplier exceeds 1, else 0. Row 0 is the bottom row of the window, column 0 the left.
// Only the rectangle of columns column_begin ... column_end - 1 and rows row_begin ... row_end - 1
// is filled (the chart grid's quadrant inside the window); valid says whether it matches made_for.
struct shading_key {
    char system;         // system_kind the raster was made for
    double beta;         // beta it was made for
    double scale_delta;  // chart_scale_delta, chart_scale_epsilon and chart_origin it was made for
    double scale_epsilon;
    double origin_x;
    double origin_y;
};
struct shading_raster {
    bool valid;
    int generation;  // counts the builds, so a copy of the raster (a texture) knows when it is old
    shading_key made_for;
    int column_begin, column_end;
    int row_begin, row_end;
    unsigned char unstable[shading_pixels][shading_pixels];  // [row][column]
};
extern shading_raster unstable_shading;

// Whether unstable_shading is valid and was made for exactly the system, beta, chart scales and
// chart origin the program state holds now.
bool shading_raster_current();

// Largest |multiplier| of the chosen (delta, epsilon) over one period 2 pi, and whether the motion
// stays bounded; valid says whether they belong to the current system, beta, delta and epsilon.
struct multiplier_readout {
    bool valid;
    char system;
    double beta, delta, epsilon;
    double max_modulus;
    bool stable;
};
extern multiplier_readout chosen_point_readout;

// Folder that the key 'w' writes pictures into; empty means the current folder.
extern char picture_folder[picture_folder_capacity];
