// The OpenGL driver on Windows: opengl32 and the driver it loads stay until the process ends, and
// no leak checker runs, so there is nothing to keep.
#include "app/gl_driver.h"

void keep_gl_driver_loaded() {}
