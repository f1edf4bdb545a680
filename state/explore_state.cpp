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

bool same_shading_key(const shading_key& a, const shading_key& b) {
    return a.system == b.system && a.beta == b.beta && a.scale_delta == b.scale_delta &&
           a.scale_epsilon == b.scale_epsilon && a.origin_x == b.origin_x &&
           a.origin_y == b.origin_y;
}

bool shading_raster_current() {
    const shading_key present = {system_kind,         beta,           chart_scale_delta,
                                 chart_scale_epsilon, chart_origin.x, chart_origin.y};
    return unstable_shading.valid && same_shading_key(unstable_shading.made_for, present);
}

bool multiplier_readout_current() {
    const multiplier_readout& r = chosen_point_readout;
    return r.valid && r.system == system_kind && r.beta == beta && r.delta == delta &&
           r.epsilon == epsilon;
}
