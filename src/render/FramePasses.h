#pragma once
// The two scene passes of a frame: the shadow pass from the flashlight into a float texture, and
// the lit pass from the camera with the shadow map, lights and camera uniforms.
#include <GL/glew.h>

#include "render/Hud.h"

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
// The shadow pass (while shadows are on), then the lit pass with the lights' upload and, while
// paused, the pause menu. Reads shadowsEnabled, paused, showShadowMap, the flashlight, the lights,
// the camera matrices and the framebuffer size; writes the shadow target and the menu's click.
// Returns the resolution chosen in the pause menu this frame.
ResolutionChoice renderFrame(const InputSnapshot& input);
// The window's whole framebuffer as the viewport, and, when asked, cleared.
void windowViewport(int width, int height, bool clear);
// The drawing state every pass starts from, once the context exists: the viewport, the clear
// colour, depth test, culling and blending.
void setUpDrawingState(int width, int height);
// Polygons drawn as their outlines (F3) or filled.
void setWireframe(bool outlines);
// OpenGL errors are not reported: what a frame left is dropped after the swap.
void discardGlErrors();
// Waits until the renderer has drawn everything asked of it (a timed phase's edge).
void finishDrawing();
// The context's vendor, renderer and versions on the console.
void reportContext();
