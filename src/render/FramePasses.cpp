#include "render/FramePasses.h"

GLuint shadowFramebuffer = 0;
GLuint shadowTexture = 0;
GLuint shadowDepthBuffer = 0;

void renderFrame()
{
    // The shadow and lit passes arrive with the lights and the player.
}
