// Definitions of the explorer's state declared in explore_state.h; all start off or empty.
#include "state/explore_state.h"

bool explore_aids = false;
bool phase_plane_shown = false;
shading_raster unstable_shading;
multiplier_readout chosen_point_readout;
char picture_folder[picture_folder_capacity];
