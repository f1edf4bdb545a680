// Plot primitives in OpenGL 1.x immediate mode: each one brackets its drawing with the lighting
// switch (off ... on) and, where it moves the origin, with a matrix push ... pop.
#include "draw/draw_primitives.h"

#include <GL/glut.h>

#include <cmath>

#include "state/numbers.h"

namespace {

constexpr double radians_per_degree = 0.01745329252;  // glRotated takes degrees
constexpr double window_pixels_per_unit = 400.0;      // half of the 800-pixel window

void set_colour(const rgba& colour) {
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
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

    glPushMatrix();
    glTranslated(cx, cy, 0.0);
    set_colour(colour);
    // GL_POLYGON closes the outline itself; the first vertex is not repeated.
    glBegin(GL_POLYGON);
    for (int k = 0; k < disc_segments; ++k) {
        glVertex2d(r * circle.cos_theta[k], r * circle.sin_theta[k]);
    }
    glEnd();
    glPopMatrix();
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
    glDisable(GL_LIGHTING);
    set_colour(colour);
    glBegin(GL_LINES);
    glVertex2d(to_window(a.x), to_window(a.y));
    glVertex2d(to_window(b.x), to_window(b.y));
    glEnd();
    glEnable(GL_LIGHTING);
}

void draw_disc(const point& centre, double radius, const rgba& colour) {
    unit_circle circle;
    make_unit_circle(circle);
    glDisable(GL_LIGHTING);
    disc_polygon(centre, radius, colour, circle);
    glEnable(GL_LIGHTING);
}

void draw_discs(const point* centres, int count, double radius, const rgba& colour) {
    if (count < 1) return;
    unit_circle circle;
    make_unit_circle(circle);
    glDisable(GL_LIGHTING);
    for (int i = 0; i < count; ++i) disc_polygon(centres[i], radius, colour, circle);
    glEnable(GL_LIGHTING);
}

void draw_axes(const point& origin, double angle) {
    const double ox = to_window(origin.x);
    const double oy = to_window(origin.y);

    glDisable(GL_LIGHTING);
    glLineWidth(2.0f);
    glPushMatrix();
    set_colour(black);
    glTranslated(ox, oy, 0.0);
    glRotated(angle / radians_per_degree, 0.0, 0.0, 1.0);
    // Ten units each way: far beyond the window whatever the origin on screen.
    glBegin(GL_LINES);
    glVertex2d(-10.0, 0.0);
    glVertex2d(10.0, 0.0);
    glVertex2d(0.0, -10.0);
    glVertex2d(0.0, 10.0);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void draw_grid(const point& origin, double angle, int n, double step_x, double step_y) {
    const double ox = to_window(origin.x);
    const double oy = to_window(origin.y);
    const double sx = to_window(step_x);
    const double sy = to_window(step_y);
    const double half_width = n * sx;
    const double half_height = n * sy;

    glDisable(GL_LIGHTING);
    set_colour(black);
    glPushMatrix();
    glLineWidth(1.0f);
    glTranslated(ox, oy, 0.0);
    glRotated(angle / radians_per_degree, 0.0, 0.0, 1.0);
    for (int i = -n; i <= n; ++i) {
        glBegin(GL_LINES);
        glVertex2d(i * sx, -half_height);
        glVertex2d(i * sx, half_height);
        glEnd();
    }
    for (int i = -n; i <= n; ++i) {
        glBegin(GL_LINES);
        glVertex2d(-half_width, i * sy);
        glVertex2d(half_width, i * sy);
        glEnd();
    }
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void draw_curve(const point& origin, double dx, double scale, int last, const double* values,
                const rgba& colour) {
    glLineWidth(2.0f);
    if (last < 1) return;
    // The segments of draw_segment, one pair of vertices each, inside a single lighting bracket.
    glDisable(GL_LIGHTING);
    set_colour(colour);
    // x is a running sum of dx, not i * dx: each segment starts where the last one ended.
    point p = {origin.x, scale * values[0] + origin.y};
    glBegin(GL_LINES);
    for (int i = 1; i <= last; ++i) {
        const point q = p;
        p.x = q.x + dx;
        p.y = scale * values[i] + origin.y;
        glVertex2d(to_window(q.x), to_window(q.y));
        glVertex2d(to_window(p.x), to_window(p.y));
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void draw_text(float x, float y, void* font, const char* text) {
    // The raster colour is fixed here, by the lighting state of this moment.
    glPushAttrib(GL_CURRENT_BIT);
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, static_cast<signed char>(*c));
    }
    glPopAttrib();
}

void begin_frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void end_frame() {
    glFlush();
    glutSwapBuffers();
}
