#include "render/FramePasses.h"

void renderFrame()
{
    // The shadow and lit passes arrive with the lights and the player.
}
