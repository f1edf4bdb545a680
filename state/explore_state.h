// The state of the explorer's teaching aids (paravib-explore only): the phase-plane toggle, the
// cached raster of unstable (delta, epsilon) pairs under the chart with the work arrays of its
// build and its texture, the multiplier readout of the chosen point, and the exported picture with
// the folder it goes to. paravib links none of it.
#pragma once

// The raster covers the window in design pixels (800 x 800, one window unit is 400 of them); a
// resized window stretches it with the rest of the picture.
constexpr int shading_pixels = 800;

// Longest picture folder path kept, terminating NUL included.
constexpr int picture_folder_capacity = 4096;

// Side of the exported picture in pixels, independent of the window's present size.
constexpr int picture_pixels = 800;

extern bool chart_pinned;       // 'a', 'z' or 'Z': the chart stays over the motion until 'a' again
extern bool phase_plane_shown;  // key 'p': the (y, v) trajectory in place of the mass picture

// Verdicts of the parameter pairs under the chart, one byte per design pixel: 1 where the largest
// Floquet multiplier exceeds 1, else 0. Row 0 is the bottom row of the window, column 0 the left.
// Every pixel of the window is filled, whatever the view (delta < 0 and epsilon < 0 included);
// valid says whether it matches made_for.
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
    unsigned char unstable[shading_pixels][shading_pixels];  // [row][column]
};
extern shading_raster unstable_shading;

// What the last raster build did: the number of Floquet verdicts it computed.
struct shading_work {
    int evaluations;
};
extern shading_work shading_build;

// The raster as the drawing shows it: the texture's handle (0 before the first upload), the
// generation of the raster it holds, and the texels uploaded (tint or white per design pixel).
struct shading_texture_copy {
    unsigned int handle;
    int generation;
    unsigned char texels[shading_pixels][shading_pixels][3];
};
extern shading_texture_copy shading_texture;

// What a cached part of the chart depends on: the equation, beta, the boundary tables (a hash of
// their bytes), the chart scales and origin, and the size of the picture it is copied into.
struct chart_layer_key {
    char system;
    double beta;
    int epsilon_steps;
    unsigned long long tables;
    double scale_delta, scale_epsilon;
    double origin_x, origin_y;
    int width, height;
};
// A part of the chart kept as a texture of the picture's size, drawn again only for another key:
// the drawing backend's layer slot that holds it, and whether it holds the drawing for made_for.
struct chart_layer_texture {
    int slot;
    bool valid;
    chart_layer_key made_for;
};
extern chart_layer_texture chart_body_layer;    // legend, boundary dots, grid and axes
extern chart_layer_texture chart_labels_layer;  // ticks, tongue labels and the tongue legend
extern bool chart_layers_cached;                // false: every part drawn directly in every frame

// Whether two rasters are made for the same system, beta, chart scales and chart origin.
bool same_shading_key(const shading_key& a, const shading_key& b);

// Whether unstable_shading is valid and was made for exactly the system, beta, chart scales and
// chart origin the program state holds now.
bool shading_raster_current();

// Largest |multiplier| of the chosen (delta, epsilon) over one period 2 pi, and whether the motion
// stays bounded; valid says whether they belong to the system, beta, delta and epsilon stored.
struct multiplier_readout {
    bool valid;
    char system;
    double beta, delta, epsilon;
    double max_modulus;
    bool stable;
};
extern multiplier_readout chosen_point_readout;

// Whether chosen_point_readout is valid and belongs to the system, beta, delta and epsilon the
// program state holds now.
bool multiplier_readout_current();

// Folder that the key 'w' writes pictures into; empty means the current folder.
extern char picture_folder[picture_folder_capacity];
// False when PARAVIB_PICTURE_FOLDER named a folder too long to keep: 'w' then says so and writes
// nothing, rather than writing beside the boundary files.
extern bool picture_folder_usable;

// The picture of picture_pixels x picture_pixels RGB pixels (top row first) handed from the
// back-buffer copy to the file writer, and the line width the picture on show started with
// (the string of the mass inherits it from the frame before, and the exported copy draws it alike).
extern unsigned char exported_picture[picture_pixels * picture_pixels * 3];
extern float shown_frame_line_width;
