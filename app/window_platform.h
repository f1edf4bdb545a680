// What the window set-up of app/window.cpp leaves to the platform's window file: the caption
// and the input callbacks, both called once the window's context is current.
#pragma once

// Shows title as the window's caption (UTF-8).
void name_window(const char* title);

// Registers the callbacks of the keys and the mouse that the platform delivers through GLUT.
void take_window_input();
