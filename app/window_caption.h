// The window caption in its Japanese UTF-8 text, set in the form the platform's window system
// shows without garbling (window_caption_x11.cpp or window_caption_windows.cpp).
#pragma once

// Sets title (UTF-8) as the caption of the GLUT window whose OpenGL context is current; does
// nothing when no context is current.
void set_utf8_caption(const char* title);
