// Definitions of the explorer's state declared in explore_state.h; all start off or empty.
#include "state/explore_state.h"

#include "state/program_state.h"

bool explore_aids = false;
bool phase_plane_shown = false;
shading_raster unstable_shading;
multiplier_readout chosen_point_readout;
char picture_folder[picture_folder_capacity];

bool shading_raster_current() {
    const shading_raster& r = unstable_shading;
    return r.valid && r.made_for.system == system_kind && r.made_for.beta == beta &&
           r.made_for.scale_delta == chart_scale_delta &&
           r.made_for.scale_epsilon == chart_scale_epsilon &&
           r.made_for.origin_x == chart_origin.x && r.made_for.origin_y == chart_origin.y;
}
