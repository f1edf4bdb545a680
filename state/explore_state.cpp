// Definitions of the explorer's state declared in explore_state.h; all start off or empty.
#include "state/explore_state.h"

#include "state/program_state.h"

bool chart_pinned = false;
bool phase_plane_shown = false;
shading_raster unstable_shading;
shading_work shading_build;
shading_texture_copy shading_texture;
chart_layer_texture chart_body_layer = {0, false, {}};
chart_layer_texture chart_labels_layer = {1, false, {}};
bool chart_layers_cached = true;
multiplier_readout chosen_point_readout;
char picture_folder[picture_folder_capacity];
bool picture_folder_usable = true;
unsigned char exported_picture[picture_pixels * picture_pixels * 3];
float shown_frame_line_width = 1.0f;

bool shading_raster_current() {
    const shading_raster& r = unstable_shading;
    return r.valid && r.made_for.system == system_kind && r.made_for.beta == beta &&
           r.made_for.scale_delta == chart_scale_delta &&
           r.made_for.scale_epsilon == chart_scale_epsilon &&
           r.made_for.origin_x == chart_origin.x && r.made_for.origin_y == chart_origin.y;
}

bool multiplier_readout_current() {
    const multiplier_readout& r = chosen_point_readout;
    return r.valid && r.system == system_kind && r.beta == beta && r.delta == delta &&
           r.epsilon == epsilon;
}
