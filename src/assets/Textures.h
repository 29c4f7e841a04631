#pragma once
// Image files and DDS screen images into OpenGL textures. The caller owns the returned name.
#include <GL/glew.h>

// Any image DevIL reads, uploaded as 8-bit RGBA; ends the game when the image cannot be loaded.
GLuint loadImageTexture(const char* path);
// A DXT1/DXT3/DXT5 DDS file with its mip levels, uploaded compressed; 0 when the file cannot be used.
GLuint loadDDS(const char* path);
