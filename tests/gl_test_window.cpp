// One window per test process through create_window, and pixel read-back of the back buffer,
// which needs no main loop, no mapping and no buffer swap.
#include "tests/gl_test_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "app/window.h"
#include "draw/draw_backend.h"

namespace {

bool window_open = false;
bool window_tried = false;
unsigned char frame[window_size * window_size * 3];

}  // namespace

void PrintTo(const rgb& colour, std::ostream* out) {
    *out << '(' << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ')';
}

bool open_test_window() {
    if (window_tried) return window_open;
    window_tried = true;
    // glutInit ends the process when it cannot open the display; find out first.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XCloseDisplay(display);

    static char name[] = "paravib_test";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    create_window(&argc, argv);
    reshape(window_size, window_size);
    window_open = true;
    return true;
}

void read_frame() { backend_read_rgb(window_size, window_size, false, frame); }

rgb pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= window_size || y >= window_size) return {1, 2, 3};
    const unsigned char* p = frame + 3 * (y * window_size + x);
    return {p[0], p[1], p[2]};
}

int pixel_of(double w) { return static_cast<int>((w + 1.0) * (window_size / 2)); }

int count_colour(rgb colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (pixel(x, y) == colour) ++count;
    return count;
}

int runs_in_row(rgb colour, int y, int x0, int x1) {
    int runs = 0;
    bool inside = false;
    for (int x = x0; x <= x1; ++x) {
        const bool hit = pixel(x, y) == colour;
        if (hit && !inside) ++runs;
        inside = hit;
    }
    return runs;
}

int runs_in_column(rgb colour, int x, int y0, int y1) {
    int runs = 0;
    bool inside = false;
    for (int y = y0; y <= y1; ++y) {
        const bool hit = pixel(x, y) == colour;
        if (hit && !inside) ++runs;
        inside = hit;
    }
    return runs;
}

int run_length_in_row(rgb colour, int x, int y) {
    if (!(pixel(x, y) == colour)) return 0;
    int left = x, right = x;
    while (pixel(left - 1, y) == colour) --left;
    while (pixel(right + 1, y) == colour) ++right;
    return right - left + 1;
}

int run_length_in_column(rgb colour, int x, int y) {
    if (!(pixel(x, y) == colour)) return 0;
    int low = y, high = y;
    while (pixel(x, low - 1) == colour) --low;
    while (pixel(x, high + 1) == colour) ++high;
    return high - low + 1;
}

bool colour_near(rgb colour, int x, int y, int radius) {
    return count_colour(colour, x - radius, y - radius, x + radius, y + radius) > 0;
}

unsigned long test_window_id() { return static_cast<unsigned long>(glXGetCurrentDrawable()); }

window_property read_window_property(const char* name) {
    Display* display = glXGetCurrentDisplay();
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    window_property result;
    if (XGetWindowProperty(display, test_window_id(), XInternAtom(display, name, False), 0, 4096,
                           False, AnyPropertyType, &type, &format, &items, &remaining,
                           &data) == Success &&
        type != None) {
        char* type_name = XGetAtomName(display, type);
        result.type = type_name;
        XFree(type_name);
        if (format == 8) result.bytes.assign(reinterpret_cast<char*>(data), items);
    }
    if (data != nullptr) XFree(data);
    return result;
}
