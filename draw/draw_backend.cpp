// What the screen backends share: the backend the drawing goes to, and the texels of each upload
// remembered for a recorder, which cannot read a texture back from the screen.
#include "draw/draw_backend.h"

namespace {

struct texture_record {
    unsigned int texture;  // 0: unused
    int side, width, height;
    const unsigned char* rgb;
};

texture_record texture_table[texture_records];

// The record of texture, or nullptr when it has none.
texture_record* find_texture(unsigned int texture) {
    if (texture == 0) return nullptr;
    for (texture_record& r : texture_table)
        if (r.texture == texture) return &r;
    return nullptr;
}

}  // namespace

const drawing_backend* active_backend = &screen_backend;

void note_texture(unsigned int texture, int side) {
    texture_record* r = find_texture(texture);
    for (int i = 0; r == nullptr && i < texture_records; ++i)
        if (texture_table[i].texture == 0) r = &texture_table[i];
    if (r != nullptr && texture != 0) *r = {texture, side, 0, 0, nullptr};
}

void note_texture_texels(unsigned int texture, int width, int height, const unsigned char* rgb) {
    texture_record* r = find_texture(texture);
    if (r == nullptr) return;
    r->width = width;
    r->height = height;
    r->rgb = rgb;
}

const unsigned char* backend_texture_texels(unsigned int texture, int* width, int* height,
                                            int* side) {
    const texture_record* r = find_texture(texture);
    if (r == nullptr || r->rgb == nullptr) return nullptr;
    *width = r->width;
    *height = r->height;
    *side = r->side;
    return r->rgb;
}
