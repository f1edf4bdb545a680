// Plot primitives of both views: segments, discs, axes, grids, sample curves and bitmap text in
// window coordinates (-1 ... 1 on both axes, identity matrices), with the fixed colours, on the
// drawing backend (draw/draw_backend.h); they keep no state of their own.
#pragma once

#include "state/program_state.h"

// Red, green, blue, alpha of the backend's colour. Every colour has alpha 0; blending is never enabled.
struct rgba {
    float red;
    float green;
    float blue;
    float alpha;
};

extern const rgba red;    // (1, 0, 0, 0)
extern const rgba black;  // (0, 0, 0, 0)

// Colours by curve or mass number: 0 red, 1 green, 2 blue, then shades of them.
constexpr int palette_size = 21;
extern const rgba palette[palette_size];

// Vertices of every disc: enough that a 32-pixel mass looks round.
constexpr int disc_segments = 100;

// Lighting bracket: every primitive but draw_text turns GL_LIGHTING off as its first call and on
// again as its last. No light or material is ever defined, so the raster position of text drawn
// afterwards is lit by the default ambient terms alone (0.2 x 0.2) and the text shows near-black.
// Primitives made of many parts (a curve, a set of dots) take one bracket for all of them: the
// pixels and the state left behind are those of one bracket per part, but a software rasteriser
// (Mesa llvmpipe) pays about 0.2 ms for each switch of the lighting followed by a draw.

// x scaled by 400 and back: the identity on window coordinates. Every coordinate and length a
// primitive receives passes through it; values computed afterwards (disc vertices, grid lines,
// text positions) do not.
double to_window(double x);

// One line from a to b in colour. Sets no line width: it is as wide as the last primitive left it.
void draw_segment(const point& a, const point& b, const rgba& colour);

// A filled polygon of disc_segments vertices on the circle of radius about centre.
void draw_disc(const point& centre, double radius, const rgba& colour);

// The discs of draw_disc at count centres, inside one lighting bracket; count < 1 draws nothing
// and changes no state.
void draw_discs(const point* centres, int count, double radius, const rgba& colour);

// Two black lines through origin, turned by angle (radians), reaching 10 units each way, so on
// screen they span the window. Leaves the line width at 2.
void draw_axes(const point& origin, double angle);

// 2n + 1 vertical and 2n + 1 horizontal black lines, step_x and step_y apart, forming 2n x 2n cells
// centred on origin and turned by angle (radians). Leaves the line width at 1; n < 0 draws nothing.
void draw_grid(const point& origin, double angle, int n, double step_x, double step_y);

// Polyline of last segments through values[0 ... last], each as draw_segment would draw it:
// sample i at x = origin.x + i dx (a running sum), y = scale * values[i] + origin.y. Leaves the
// line width at 2, also when last < 1 and nothing is drawn (lighting is then left alone).
void draw_curve(const point& origin, double dx, double scale, int last, const double* values,
                const rgba& colour);

// The bytes of text in GLUT's bitmap Helvetica 18 from raster position (x, y), used as given.
// Sets no colour and leaves lighting as it is; the current colour and raster position are
// restored.
void draw_text(float x, float y, const char* text);

// Start of a picture: clears colour and depth and loads the identity model-view matrix.
void begin_frame();

// End of a picture: flushes and swaps the buffers.
void end_frame();
