// The one graphics window: 800 x 800, double buffered, identity projection so that drawing
// coordinates run from -1 to 1 on both axes.
#pragma once

// Window side in pixels; one unit of window coordinates is half of it.
constexpr int window_size = 800;

// Creates the window (size, GLUT initialisation with the command line, display mode RGB, double,
// depth, the caption program_text().window_title, under X11 also as UTF-8 _NET_WM_NAME and WM_NAME, on Windows
// as UTF-16 window text), registers display,
// reshape and keyboard (and the mouse when the seam has a click hook) and sets the clear colour, then enters GLUT's main loop, which does not
// return. GLUT ends the process itself (status 1) when it cannot open the display.
void open_window(int* argc, char** argv);

// Everything open_window does before the main loop; returns with the window's context current.
void create_window(int* argc, char** argv);

// Reshape callback: viewport over the whole window, identity projection, model-view current.
void reshape(int width, int height);

// Opaque white background.
void set_clear_colour();
