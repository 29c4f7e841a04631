#pragma once
// The two scene passes of a frame: the shadow pass from the flashlight and the lit pass from the camera.
#include <GL/glew.h>

// The shadow target: a 1024 x 1024 two-channel float texture with its own depth buffer.
extern GLuint shadowFramebuffer;
extern GLuint shadowTexture;
extern GLuint shadowDepthBuffer;

void renderFrame();
