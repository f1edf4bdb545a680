// Parts of the explorer's chart drawn once into a texture and copied into every frame after, with
// the pixels that drawing them directly gives: a frame of a held key or of the running motion
// then costs one textured quad instead of thousands of boundary dots and lines of text.
#pragma once

#include "state/explore_state.h"

// Draws what draw_part draws at this point of the frame, through layer: when layer was drawn for
// the present key (program state and viewport size) the texture is copied over the frame,
// covering exactly the pixels draw_part covers; otherwise draw_part first draws into the texture,
// its written pixels marked by alpha 0 on a clear of alpha 1. draw_part must not blend
// with what lies under it nor read the frame, and must draw alike whatever the colour and line
// width it starts with (each of the chart's primitives sets its own). With chart_layers_cached
// false, or where OpenGL offers no framebuffer objects, draw_part simply draws directly.
void draw_through_layer(chart_layer_texture& layer, void (*draw_part)());
