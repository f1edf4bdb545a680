// The few drawing operations every picture of paravib is made of, behind one interface: colour,
// line width, the lighting switch, the model-view matrix, lines, strips and polygons, bitmap
// text, the frame, the viewport, a texture blit, a clip rectangle and reading pixels back.
// The screen backend (OpenGL 1.x on the desktop, WebGL on the page) is chosen by the build; a
// recorder (the picture as SVG) can stand in for it for one frame, so it sees exactly the calls.
#pragma once

// How the vertices between begin and end join: pairs of points as separate lines, one open
// polyline, a filled convex polygon.
enum class shape { lines, line_strip, polygon };

// The drawing calls in one table, so that a recorder can stand in for the screen. Coordinates are
// object coordinates of the current model-view matrix; the projection is the identity, so the
// window spans -1 ... 1 on both axes. Colours are red, green, blue, alpha in 0 ... 1.
struct drawing_backend {
    void (*clear)();  // colour and depth buffers to the clear colour; model-view the identity
    void (*finish_frame)();  // flush, then show the picture (swap the buffers)
    void (*flush)();
    void (*colour)(float red, float green, float blue, float alpha);
    void (*line_width)(float pixels);
    float (*current_line_width)();
    // Lighting decides only the colour of text: with no light defined, text whose position is
    // set while lighting is on shows in the default ambient grey 0.2 x 0.2.
    void (*lighting)(bool on);
    void (*push_matrix)();
    void (*pop_matrix)();
    void (*translate)(double x, double y);
    void (*rotate)(double degrees);  // about the z axis, counterclockwise
    void (*begin)(shape kind);
    void (*vertex)(double x, double y);
    void (*end)();
    // The bytes of text in GLUT's bitmap Helvetica 18 from (x, y), each byte a glyph; the colour
    // and position of the text are fixed at (x, y) by the lighting of that moment, and the
    // current colour is left as it was.
    void (*text)(float x, float y, const char* text);
    // Texel rectangle [s0, s1] x [t0, t1] (texture coordinates 0 ... 1) of a texture made by
    // backend_texture_create, drawn unlit in place of the rectangle [x0, x1] x [y0, y1].
    void (*blit_texture)(unsigned int texture, double x0, double y0, double x1, double y1, float s0,
                         float t0, float s1, float t1);
    // Clips every later primitive to the rectangle [left, right] x [bottom, top] (window units,
    // identity matrices), until clip_off.
    void (*clip_rectangle)(double left, double right, double bottom, double top);
    void (*clip_off)();
};

// The screen backend of this build.
extern const drawing_backend screen_backend;

// The backend the drawing goes to: screen_backend unless a recorder stands in.
extern const drawing_backend* active_backend;
inline const drawing_backend& backend() { return *active_backend; }

// Window set-up: viewport in pixels, identity projection with the model-view matrix current,
// the clear colour.
void backend_viewport(int x, int y, int width, int height);
void backend_reset_projection();
void backend_clear_colour(float red, float green, float blue, float alpha);

// A side x side RGB texture with nearest-texel sampling, clamped at its edges; returns its handle
// (never 0). Its contents are undefined until backend_texture_upload.
unsigned int backend_texture_create(int side);

// Loads the width x height texels rgb (3 bytes each, rows bottom first, no padding) into the lower
// left corner of texture. The recorder reads them when the texture is drawn, so rgb must stay as
// it is until the next upload.
void backend_texture_upload(unsigned int texture, int width, int height, const unsigned char* rgb);

// The texels last uploaded to texture, their size and the texture's side, or nullptr for a
// texture never loaded.
const unsigned char* backend_texture_texels(unsigned int texture, int* width, int* height,
                                            int* side);

// For the screen backends: notes a texture made and the texels of each upload, for
// backend_texture_texels (the first texture_records textures made are remembered).
constexpr int texture_records = 16;
void note_texture(unsigned int texture, int side);
void note_texture_texels(unsigned int texture, int width, int height, const unsigned char* rgb);

// Draws the picture that draw() makes (frame and line width included) at side x side pixels where the screen does
// not show it, and reads it into rgb (3 bytes a pixel, rows top first). On the desktop that is
// the window's back buffer before any swap, which OpenGL 1.1 has: a window smaller than the
// picture holds it in tiles, the viewport of the whole picture shifted by whole pixels per tile,
// so each tile rasterises exactly as its part of one frame. The viewport and line width are
// restored. False (rgb undefined) when the drawing reported an error or there is no window.
bool backend_render_picture(int side, void (*draw)(), unsigned char* rgb);

// Waits for the drawing, then reads the lower left width x height pixels of the picture drawn
// into (the back buffer, or the off-screen buffer) as RGB, 3 bytes each, rows bottom first
// unless top_row_first.
void backend_read_rgb(int width, int height, bool top_row_first, unsigned char* rgb);

// Layers of a picture kept as textures of the viewport's size, in slots 0 ... backend_layer_slots
// - 1: backend_layer_record draws draw_part into the slot's texture, its written pixels marked,
// and backend_layer_copy copies exactly those pixels over the frame, then sets the colour and
// line width as the drawing left them. Recording is false (nothing kept) where the build has no
// off-screen buffers (the OpenGL 1.1 of Windows, the page): the caller then draws directly.
// draw_part must not blend with what lies under it nor read the frame.
constexpr int backend_layer_slots = 2;
bool backend_layer_record(int slot, void (*draw_part)());
void backend_layer_copy(int slot);

// The viewport's size in pixels.
void backend_viewport_size(int* width, int* height);

// Asks for the picture to be drawn again once the events already waiting are taken, so that a
// burst of keys is drawn once. On the desktop GLUT draws it; the page's window loop asks
// backend_redisplay_asked, which says whether a redisplay was asked for since it last asked.
void backend_redisplay_soon();
bool backend_redisplay_asked();
