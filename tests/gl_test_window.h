// Test support for drawing checks: one GLUT window per test process, opened through the
// program's own window set-up, and the back buffer read back as RGB pixels.
#pragma once

#include <ostream>
#include <string>

#include "tests/program_state_setup.h"

// Opens the 800 x 800 window once per process (later calls only report) and reshapes it to
// 800 x 800. False when no X display can be opened: the caller skips.
bool open_test_window();

struct rgb {
    unsigned char r, g, b;
    bool operator==(const rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const rgb& o) const { return !(*this == o); }
};

// Printed as (r, g, b) in failure messages.
void PrintTo(const rgb& colour, std::ostream* out);

constexpr rgb pure_white = {255, 255, 255};
constexpr rgb pure_black = {0, 0, 0};
constexpr rgb pure_red = {255, 0, 0};
constexpr rgb pure_green = {0, 255, 0};
constexpr rgb pure_blue = {0, 0, 255};
// Text lit by the default ambient terms only: 0.2 x 0.2 = 0.04 of full scale.
constexpr rgb lit_text = {10, 10, 10};

// Resizes the test window and waits (a bounded while) until GLUT reports the new size, then
// reshapes to it; the display callback registered then runs for the window's events. False if
// the size never came.
bool resize_test_window(int width, int height);

// Reads the whole back buffer after glFinish. Pixel (0, 0) is the bottom left corner.
void read_frame();

// The pixel at column x, row y (from the bottom) of the last frame read.
rgb pixel(int x, int y);

// Pixel column and row that contain window coordinate w (-1 ... 1); w on a pixel border maps to
// the pixel above or right of it.
int pixel_of(double w);

// Pixels of one colour in the rectangle of columns x0 ... x1 and rows y0 ... y1 (both included).
int count_colour(rgb colour, int x0, int y0, int x1, int y1);

// Number of separate runs of colour along row y over columns x0 ... x1, and along column x.
int runs_in_row(rgb colour, int y, int x0, int x1);
int runs_in_column(rgb colour, int x, int y0, int y1);

// Length of the unbroken run of colour through (x, y) along its row and along its column.
int run_length_in_row(rgb colour, int x, int y);
int run_length_in_column(rgb colour, int x, int y);

// X id of the test window (the drawable of the current GL context).
unsigned long test_window_id();

// A property of the test window as stored: the name of its type ("" when it is not set) and, for
// 8-bit properties, its bytes.
struct window_property {
    std::string type;
    std::string bytes;
};
window_property read_window_property(const char* name);

// Whether colour occurs within radius pixels (a square) of (x, y): for thin lines and dots whose
// pixels depend on the rasteriser's rule at pixel borders.
bool colour_near(rgb colour, int x, int y, int radius);
