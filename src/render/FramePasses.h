#pragma once
// The two scene passes of a frame: the shadow pass from the flashlight into a float texture, and
// the lit pass from the camera with the shadow map, lights and camera uniforms.
#include <GL/glew.h>

struct InputSnapshot;

// The shadow target: a two-channel float texture with its own depth buffer, 1024 x 1024 at full
// resolution and scaled on each side with the render scale. A scene drawn at half size needs no finer
// shadow than its own pixels, and on a software renderer the pass costs its texel count.
constexpr int shadowMapSize = 1024;
extern GLuint shadowFramebuffer;
extern GLuint shadowTexture;
extern GLuint shadowDepthBuffer;
// The side of the shadow target as it was last sized.
extern int shadowSide;

// Made once, as the last step of the world assembly.
void createShadowTarget();
// The shadow pass (while shadows are on), then the lit pass with the player update, or, while
// paused, the player held and the pause menu. Reads shadowsEnabled, paused, showShadowMap, the
// flashlight, the camera matrices and the framebuffer size; writes the shadow target and, through
// the player update or the pause menu, what they write.
void renderFrame(const InputSnapshot& input);
