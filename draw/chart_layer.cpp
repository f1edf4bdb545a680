// The chart's cached parts: each drawn once into a layer of the drawing backend for its key and
// copied over later frames; drawn directly while a recorder (the SVG picture) stands in for the
// screen, so that the picture keeps its vectors, and where the backend keeps no layers.
#include "draw/chart_layer.h"

#include <cstring>

#include "draw/draw_backend.h"
#include "state/program_state.h"

namespace {

// FNV-1a over the 64-bit words of the tables the chart shows.
unsigned long long tables_hash() {
    const boundary_table* tables[] = {&boundary_b1,  &boundary_b2,  &boundary_dc1,
                                      &boundary_ds1, &boundary_dc2, &boundary_ds2};
    unsigned long long hash = 1469598103934665603ull;
    for (const boundary_table* t : tables) {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(t);
        for (unsigned long i = 0; i + 8 <= sizeof *t; i += 8) {
            unsigned long long word;
            std::memcpy(&word, bytes + i, 8);
            hash = (hash ^ word) * 1099511628211ull;
        }
    }
    return hash;
}

chart_layer_key present_key(int width, int height) {
    return {system_kind,         beta,           epsilon_steps,  tables_hash(), chart_scale_delta,
            chart_scale_epsilon, chart_origin.x, chart_origin.y, width,         height};
}

bool same_key(const chart_layer_key& a, const chart_layer_key& b) {
    return a.system == b.system && a.beta == b.beta && a.epsilon_steps == b.epsilon_steps &&
           a.tables == b.tables && a.scale_delta == b.scale_delta &&
           a.scale_epsilon == b.scale_epsilon && a.origin_x == b.origin_x &&
           a.origin_y == b.origin_y && a.width == b.width && a.height == b.height;
}

}  // namespace

void draw_through_layer(chart_layer_texture& layer, void (*draw_part)()) {
    if (!chart_layers_cached || active_backend != &screen_backend) {
        draw_part();
        return;
    }
    int width = 0, height = 0;
    backend_viewport_size(&width, &height);
    const chart_layer_key key = present_key(width, height);
    if (!(layer.valid && same_key(layer.made_for, key))) {
        layer.valid = backend_layer_record(layer.slot, draw_part);
        layer.made_for = key;
        if (!layer.valid) {
            draw_part();
            return;
        }
    }
    backend_layer_copy(layer.slot);
}
