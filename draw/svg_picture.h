// The picture on show as an SVG document: a recording backend stands in for the screen for one
// frame, so the file holds exactly what the window draws, each part as a vector element.
#pragma once

#include <cstdio>

// Side of the SVG picture in pixels: the window's design size, one window unit 400 pixels.
constexpr int svg_pixels = 800;

// Draws the picture on show once (draw_picture, the motion not advanced) into file as an SVG
// document of svg_pixels x svg_pixels with title (UTF-8) as its <title>: lines as paths, strips
// as polylines, discs as circles, other polygons as polygons, text as <text> in Helvetica 18 at
// its baseline, a texture as rows of rectangles of its texels, a clip as a clip path.
// start_line_width is the line width the picture on show started with (segments such as the
// string of the mass inherit it). The screen is not drawn on. False when a write to file failed.
bool write_svg_picture(std::FILE* file, const char* title, float start_line_width);
