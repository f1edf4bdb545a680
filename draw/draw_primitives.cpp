// Plot primitives on the drawing backend: each one brackets its drawing with the lighting
// switch (off ... on) and, where it moves the origin, with a matrix push ... pop.
#include "draw/draw_primitives.h"

#include "draw/draw_backend.h"

#include <cmath>

#include "state/numbers.h"

namespace {

constexpr double radians_per_degree = 0.01745329252;  // the backend rotates by degrees
constexpr double window_pixels_per_unit = 400.0;      // half of the 800-pixel window

void set_colour(const rgba& colour) {
    backend().colour(colour.red, colour.green, colour.blue, colour.alpha);
}

// cos and sin of the disc_segments vertex angles k * 2 pi / disc_segments, computed once per call
// of a disc primitive rather than once per vertex of every disc.
struct unit_circle {
    double cos_theta[disc_segments];
    double sin_theta[disc_segments];
};

void make_unit_circle(unit_circle& circle) {
    const double d_theta = 2.0 * disc_pi / disc_segments;
    for (int k = 0; k < disc_segments; ++k) {
        const double theta = k * d_theta;
        circle.cos_theta[k] = std::cos(theta);
        circle.sin_theta[k] = std::sin(theta);
    }
}

// The disc of draw_disc without the lighting bracket.
void disc_polygon(const point& centre, double radius, const rgba& colour,
                  const unit_circle& circle) {
    const double cx = to_window(centre.x);
    const double cy = to_window(centre.y);
    const double r = to_window(radius);

    backend().push_matrix();
    backend().translate(cx, cy);
    set_colour(colour);
    // A polygon closes its outline itself; the first vertex is not repeated.
    backend().begin(shape::polygon);
    for (int k = 0; k < disc_segments; ++k) {
        backend().vertex(r * circle.cos_theta[k], r * circle.sin_theta[k]);
    }
    backend().end();
    backend().pop_matrix();
}

}  // namespace

const rgba red = {1.0f, 0.0f, 0.0f, 0.0f};
const rgba black = {0.0f, 0.0f, 0.0f, 0.0f};

const rgba palette[palette_size] = {
    {1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f},
    {1.0f, 0.2f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.2f, 0.0f}, {0.2f, 0.0f, 1.0f, 0.0f},
    {1.0f, 0.4f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.4f, 0.0f}, {0.4f, 0.0f, 1.0f, 0.0f},
    {1.0f, 0.6f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.6f, 0.0f}, {0.6f, 0.0f, 1.0f, 0.0f},
    {1.0f, 0.8f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.8f, 0.0f}, {0.8f, 0.0f, 1.0f, 0.0f},
    {1.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 1.0f, 0.0f},
    {1.0f, 1.0f, 0.2f, 0.0f}, {0.2f, 1.0f, 1.0f, 0.0f}, {1.0f, 0.2f, 1.0f, 0.0f},
};

double to_window(double x) { return x * window_pixels_per_unit / window_pixels_per_unit; }

void draw_segment(const point& a, const point& b, const rgba& colour) {
    backend().lighting(false);
    set_colour(colour);
    backend().begin(shape::lines);
    backend().vertex(to_window(a.x), to_window(a.y));
    backend().vertex(to_window(b.x), to_window(b.y));
    backend().end();
    backend().lighting(true);
}

void draw_disc(const point& centre, double radius, const rgba& colour) {
    unit_circle circle;
    make_unit_circle(circle);
    backend().lighting(false);
    disc_polygon(centre, radius, colour, circle);
    backend().lighting(true);
}

void draw_discs(const point* centres, int count, double radius, const rgba& colour) {
    if (count < 1) return;
    unit_circle circle;
    make_unit_circle(circle);
    backend().lighting(false);
    for (int i = 0; i < count; ++i) disc_polygon(centres[i], radius, colour, circle);
    backend().lighting(true);
}

void draw_axes(const point& origin, double angle) {
    const double ox = to_window(origin.x);
    const double oy = to_window(origin.y);

    backend().lighting(false);
    backend().line_width(2.0f);
    backend().push_matrix();
    set_colour(black);
    backend().translate(ox, oy);
    backend().rotate(angle / radians_per_degree);
    // Ten units each way: far beyond the window whatever the origin on screen.
    backend().begin(shape::lines);
    backend().vertex(-10.0, 0.0);
    backend().vertex(10.0, 0.0);
    backend().vertex(0.0, -10.0);
    backend().vertex(0.0, 10.0);
    backend().end();
    backend().pop_matrix();
    backend().lighting(true);
}

void draw_grid(const point& origin, double angle, int n, double step_x, double step_y) {
    const double ox = to_window(origin.x);
    const double oy = to_window(origin.y);
    const double sx = to_window(step_x);
    const double sy = to_window(step_y);
    const double half_width = n * sx;
    const double half_height = n * sy;

    backend().lighting(false);
    set_colour(black);
    backend().push_matrix();
    backend().line_width(1.0f);
    backend().translate(ox, oy);
    backend().rotate(angle / radians_per_degree);
    for (int i = -n; i <= n; ++i) {
        backend().begin(shape::lines);
        backend().vertex(i * sx, -half_height);
        backend().vertex(i * sx, half_height);
        backend().end();
    }
    for (int i = -n; i <= n; ++i) {
        backend().begin(shape::lines);
        backend().vertex(-half_width, i * sy);
        backend().vertex(half_width, i * sy);
        backend().end();
    }
    backend().pop_matrix();
    backend().lighting(true);
}

void draw_curve(const point& origin, double dx, double scale, int last, const double* values,
                const rgba& colour) {
    backend().line_width(2.0f);
    if (last < 1) return;
    // The segments of draw_segment, one pair of vertices each, inside a single lighting bracket.
    backend().lighting(false);
    set_colour(colour);
    // x is a running sum of dx, not i * dx: each segment starts where the last one ended.
    point p = {origin.x, scale * values[0] + origin.y};
    backend().begin(shape::lines);
    for (int i = 1; i <= last; ++i) {
        const point q = p;
        p.x = q.x + dx;
        p.y = scale * values[i] + origin.y;
        backend().vertex(to_window(q.x), to_window(q.y));
        backend().vertex(to_window(p.x), to_window(p.y));
    }
    backend().end();
    backend().lighting(true);
}

void draw_text(float x, float y, const char* text) { backend().text(x, y, text); }

void begin_frame() { backend().clear(); }

void end_frame() { backend().finish_frame(); }
