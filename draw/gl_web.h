// OpenGL 1.x as the plot primitives use it, on WebGL with Emscripten's immediate-mode emulation.
// Included ahead of every drawing source of the web target only: the calls that WebGL lacks or
// draws differently (polygons, 2-pixel lines, bitmap text, attribute push and pop, texture
// coordinates of collected vertices, the sized texture format and GL_CLAMP, which WebGL lacks)
// are routed to the replacements below, which give the desktop's pixels.
#pragma once

// A source that uses framebuffer objects asks for their prototypes before its first GL header;
// this header comes first, so it asks for them itself.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glut.h>

void web_begin(GLenum mode);
void web_vertex(double x, double y);
void web_end();
void web_color(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void web_line_width(GLfloat width);
void web_enable(GLenum capability);
void web_disable(GLenum capability);
void web_push_attrib(GLbitfield mask);
void web_pop_attrib();
void web_raster_pos(GLfloat x, GLfloat y);
void web_bitmap_character(void* font, int character);
void web_swap_buffers();
void web_tex_coord(GLfloat s, GLfloat t);
void web_tex_parameter(GLenum target, GLenum name, GLint value);
void web_tex_image(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels);

#ifndef PARAVIB_GL_WEB_IMPLEMENTATION
#define glBegin web_begin
#define glVertex2d web_vertex
#define glEnd web_end
#define glColor4f web_color
#define glLineWidth web_line_width
#define glEnable web_enable
#define glDisable web_disable
#define glPushAttrib web_push_attrib
#define glPopAttrib web_pop_attrib
#define glRasterPos2f web_raster_pos
#define glutBitmapCharacter web_bitmap_character
#define glutSwapBuffers web_swap_buffers
#define glTexCoord2f web_tex_coord
#define glTexParameteri web_tex_parameter
#define glTexImage2D web_tex_image
#endif
