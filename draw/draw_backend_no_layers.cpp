// Layers of the picture where the build has no off-screen buffers to keep them in (the OpenGL 1.1
// of Windows' opengl32, the page): nothing is recorded, and the caller draws every part directly.
#include "draw/draw_backend.h"

bool backend_layer_record(int, void (*)()) { return false; }

void backend_layer_copy(int) {}
