// Picture files of the explorer: an RGB image written as PNG through libpng.
#pragma once

#include <cstdio>

// Writes the width x height image rgb (3 bytes per pixel, rows top first, no padding) to the open
// file as an 8-bit RGB PNG. False when libpng or the file reports an error; the file then holds
// an incomplete picture and the caller removes it. The file is not closed here.
bool write_png_picture(std::FILE* file, const unsigned char* rgb, int width, int height);

// Hands a picture just named path to the user where a file on disk is not theirs to open: the
// web page downloads it. Elsewhere the file is where the console line says, and this does nothing.
void hand_out_picture(const char* path);
