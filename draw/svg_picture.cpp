// The recording backend behind the SVG picture: it keeps the little drawing state the screen
// keeps (colour, line width, lighting, the model-view matrix) and writes each primitive as an
// element in window pixels, y downwards.
#include "draw/svg_picture.h"

#include <cmath>

#include "draw/draw_backend.h"
#include "draw/draw_primitives.h"
#include "draw/response_view.h"

namespace {

// Most vertices of one primitive: a disc has 100, a curve two per sample of 1501.
constexpr int max_vertices = 4096;
constexpr int max_matrix_depth = 32;
constexpr double pixels_per_unit = svg_pixels / 2.0;

// Text positioned while lighting is on shows in the default ambient grey 0.2 x 0.2.
constexpr float lit_grey = 0.2f * 0.2f;

// Least vertices of a polygon taken for a disc, and how far its vertices may lie from one radius.
constexpr int least_disc_vertices = 16;
constexpr double disc_radius_tolerance = 1e-6;

// x' = a x + c y + e, y' = b x + d y + f.
struct affine {
    double a, b, c, d, e, f;
};

constexpr affine identity = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0};

struct recording {
    std::FILE* file;
    float red, green, blue;
    float line_width;
    bool lighting;
    affine matrix;
    affine stack[max_matrix_depth];
    int depth;
    shape kind;
    int count;
    double x[max_vertices], y[max_vertices];  // SVG pixels
    int clips;                                // clip paths made so far
    bool clipped;                             // a clip group is open
};

recording rec;

void map_point(double x, double y, double& px, double& py) {
    const affine& m = rec.matrix;
    const double wx = m.a * x + m.c * y + m.e;
    const double wy = m.b * x + m.d * y + m.f;
    px = (wx + 1.0) * pixels_per_unit;
    py = (1.0 - wy) * pixels_per_unit;
}

int channel(float value) {
    const float clamped = value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
    return static_cast<int>(clamped * 255.0f + 0.5f);
}

void print_colour(float red, float green, float blue) {
    std::fprintf(rec.file, "#%02x%02x%02x", channel(red), channel(green), channel(blue));
}

// Text as XML character data: markup characters escaped, control bytes left out, and each byte
// above 127 as the Latin-1 character GLUT's bitmap font draws for it, or kept as it is in UTF-8.
void print_escaped(const char* text, bool latin1) {
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c == '&') {
            std::fputs("&amp;", rec.file);
        } else if (*c == '<') {
            std::fputs("&lt;", rec.file);
        } else if (*c == '>') {
            std::fputs("&gt;", rec.file);
        } else if (*c >= 0x80 && latin1) {
            std::fprintf(rec.file, "&#x%x;", *c);
        } else if (*c >= 0x20) {
            std::fputc(*c, rec.file);
        }
    }
}

void clear() {
    rec.matrix = identity;
    std::fprintf(rec.file, "<rect width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n", svg_pixels,
                 svg_pixels);
}

void nothing() {}

void colour(float red, float green, float blue, float) {
    rec.red = red;
    rec.green = green;
    rec.blue = blue;
}

void line_width(float pixels) { rec.line_width = pixels; }
float current_line_width() { return rec.line_width; }
void lighting(bool on) { rec.lighting = on; }

void push_matrix() {
    if (rec.depth < max_matrix_depth) rec.stack[rec.depth] = rec.matrix;
    ++rec.depth;
}

void pop_matrix() {
    if (rec.depth == 0) return;
    --rec.depth;
    if (rec.depth < max_matrix_depth) rec.matrix = rec.stack[rec.depth];
}

void translate(double x, double y) {
    affine& m = rec.matrix;
    m.e = m.a * x + m.c * y + m.e;
    m.f = m.b * x + m.d * y + m.f;
}

void rotate(double degrees) {
    const double radians = degrees * (3.14159265358979323846 / 180.0);
    const double cs = std::cos(radians), sn = std::sin(radians);
    affine& m = rec.matrix;
    const affine r = {m.a * cs + m.c * sn,
                      m.b * cs + m.d * sn,
                      -m.a * sn + m.c * cs,
                      -m.b * sn + m.d * cs,
                      m.e,
                      m.f};
    m = r;
}

void begin(shape kind) {
    rec.kind = kind;
    rec.count = 0;
}

void vertex(double x, double y) {
    if (rec.count == max_vertices) return;
    map_point(x, y, rec.x[rec.count], rec.y[rec.count]);
    ++rec.count;
}

void print_stroke() {
    std::fputs(" fill=\"none\" stroke=\"", rec.file);
    print_colour(rec.red, rec.green, rec.blue);
    std::fprintf(rec.file, "\" stroke-width=\"%g\"/>\n", rec.line_width);
}

void print_points() {
    for (int i = 0; i < rec.count; ++i) {
        std::fprintf(rec.file, "%s%.2f,%.2f", i == 0 ? "" : " ", rec.x[i], rec.y[i]);
    }
}

// A polygon whose vertices all lie on one circle about their mean: a disc.
bool is_disc(double& cx, double& cy, double& r) {
    if (rec.count < least_disc_vertices) return false;
    cx = cy = 0.0;
    for (int i = 0; i < rec.count; ++i) {
        cx += rec.x[i];
        cy += rec.y[i];
    }
    cx /= rec.count;
    cy /= rec.count;
    r = std::hypot(rec.x[0] - cx, rec.y[0] - cy);
    for (int i = 1; i < rec.count; ++i) {
        if (std::fabs(std::hypot(rec.x[i] - cx, rec.y[i] - cy) - r) > disc_radius_tolerance * r) {
            return false;
        }
    }
    return r > 0.0;
}

void end() {
    if (rec.count < 2) return;
    switch (rec.kind) {
        case shape::lines:
            std::fputs("<path d=\"", rec.file);
            for (int i = 0; i + 1 < rec.count; i += 2) {
                std::fprintf(rec.file, "M%.2f %.2fL%.2f %.2f", rec.x[i], rec.y[i], rec.x[i + 1],
                             rec.y[i + 1]);
            }
            std::fputs("\"", rec.file);
            print_stroke();
            break;
        case shape::line_strip:
            std::fputs("<polyline points=\"", rec.file);
            print_points();
            std::fputs("\"", rec.file);
            print_stroke();
            break;
        case shape::polygon: {
            double cx, cy, r;
            if (is_disc(cx, cy, r)) {
                std::fprintf(rec.file, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.3f\"", cx, cy, r);
            } else {
                std::fputs("<polygon points=\"", rec.file);
                print_points();
                std::fputs("\"", rec.file);
            }
            std::fputs(" fill=\"", rec.file);
            print_colour(rec.red, rec.green, rec.blue);
            std::fputs("\"/>\n", rec.file);
            break;
        }
    }
    rec.count = 0;
}

// Nothing is drawn from a position outside the window, as a raster position there is invalid.
void text(float x, float y, const char* text) {
    double px, py;
    map_point(x, y, px, py);
    if (px < 0.0 || px > svg_pixels || py < 0.0 || py > svg_pixels) return;
    std::fprintf(rec.file,
                 "<text x=\"%.2f\" y=\"%.2f\" font-family=\"Helvetica, Arial, sans-serif\" "
                 "font-size=\"18\" xml:space=\"preserve\" fill=\"",
                 px, py);
    if (rec.lighting) {
        print_colour(lit_grey, lit_grey, lit_grey);
    } else {
        print_colour(rec.red, rec.green, rec.blue);
    }
    std::fputs("\">", rec.file);
    print_escaped(text, true);
    std::fputs("</text>\n", rec.file);
}

// Each row of texels as runs of one colour, one rectangle per run: the texture's pixels exactly,
// however the picture is scaled. The rectangle drawn is taken as upright (no rotation).
void blit_texture(unsigned int texture, double x0, double y0, double x1, double y1, float s0,
                  float t0, float s1, float t1) {
    int width = 0, height = 0, side = 0;
    const unsigned char* rgb = backend_texture_texels(texture, &width, &height, &side);
    if (rgb == nullptr) return;
    const int c0 = static_cast<int>(std::lround(s0 * side));
    const int c1 = static_cast<int>(std::lround(s1 * side));
    const int r0 = static_cast<int>(std::lround(t0 * side));
    const int r1 = static_cast<int>(std::lround(t1 * side));
    if (c1 <= c0 || r1 <= r0) return;
    double left, top, right, bottom;
    map_point(x0, y1, left, top);
    map_point(x1, y0, right, bottom);
    const double column_pixels = (right - left) / (c1 - c0);
    const double row_pixels = (bottom - top) / (r1 - r0);
    std::fputs("<g shape-rendering=\"crispEdges\">\n", rec.file);
    for (int row = r0; row < r1 && row < height; ++row) {
        const unsigned char* line = rgb + 3 * width * row;
        int column = c0;
        while (column < c1 && column < width) {
            const unsigned char* first = line + 3 * column;
            int next = column + 1;
            while (next < c1 && next < width && line[3 * next] == first[0] &&
                   line[3 * next + 1] == first[1] && line[3 * next + 2] == first[2])
                ++next;
            std::fprintf(rec.file,
                         "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" "
                         "fill=\"#%02x%02x%02x\"/>\n",
                         left + (column - c0) * column_pixels, bottom - (row - r0 + 1) * row_pixels,
                         (next - column) * column_pixels, row_pixels, first[0], first[1], first[2]);
            column = next;
        }
    }
    std::fputs("</g>\n", rec.file);
}

void clip_off() {
    if (!rec.clipped) return;
    std::fputs("</g>\n", rec.file);
    rec.clipped = false;
}

void clip_rectangle(double left, double right, double bottom, double top) {
    clip_off();
    double x0, y0, x1, y1;
    map_point(left, top, x0, y0);
    map_point(right, bottom, x1, y1);
    ++rec.clips;
    std::fprintf(rec.file,
                 "<clipPath id=\"clip%d\"><rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" "
                 "height=\"%.2f\"/></clipPath>\n<g clip-path=\"url(#clip%d)\">\n",
                 rec.clips, x0, y0, x1 - x0, y1 - y0, rec.clips);
    rec.clipped = true;
}

const drawing_backend svg_recorder = {
    clear,    nothing,     nothing,    colour,       line_width,     current_line_width,
    lighting, push_matrix, pop_matrix, translate,    rotate,         begin,
    vertex,   end,         text,       blit_texture, clip_rectangle, clip_off,
};

}  // namespace

bool write_svg_picture(std::FILE* file, const char* title, float start_line_width) {
    rec.file = file;
    // Every frame on show ends its last primitive with lighting on; its colour is set before use.
    rec.red = rec.green = rec.blue = 0.0f;
    rec.line_width = start_line_width;
    rec.lighting = true;
    rec.matrix = identity;
    rec.depth = 0;
    rec.count = 0;
    rec.clips = 0;
    rec.clipped = false;
    std::fprintf(file,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                 "viewBox=\"0 0 %d %d\">\n<title>",
                 svg_pixels, svg_pixels, svg_pixels, svg_pixels);
    print_escaped(title, false);
    std::fputs("</title>\n", file);
    active_backend = &svg_recorder;
    begin_frame();
    draw_picture();
    active_backend = &screen_backend;
    clip_off();
    std::fputs("</svg>\n", file);
    return std::fflush(file) == 0 && std::ferror(file) == 0;
}
