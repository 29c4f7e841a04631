#pragma once
// Image files and DDS screen images into OpenGL textures. The caller owns the returned name.
#include <GL/glew.h>

#include <string>

// Any image DevIL reads, uploaded as 8-bit RGBA; ends the game when the image cannot be loaded.
GLuint loadImageTexture(const char* path);
// A DXT1/DXT3/DXT5 DDS file with its mip levels, uploaded compressed; 0 when the file cannot be used.
GLuint loadDDS(const char* path);

// Model pictures shared between meshes: the first mesh that names a picture loads it, every later
// one gets the same texture name and counts as one more user.
GLuint acquireModelTexture(const std::string& path);
// One user lets go of a texture; the last one deletes it. A texture that did not come from
// acquireModelTexture has its one user and is deleted at once.
void releaseModelTexture(GLuint texture);
