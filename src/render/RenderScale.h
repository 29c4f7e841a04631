#pragma once
// The 3D scene's resolution as a share of each side of the window. A renderer that cannot keep
// 60 frames a second draws the lit pass smaller, into an off-screen target stretched over the
// window; the HUD, the pause menu and the screen images are always drawn at full resolution.
#include <GL/glew.h>

// RENDER_SCALE of config.ini: 0 lets the frame time choose, 50 to 100 fixes the scale in percent.
extern int renderScaleSetting;
// The scale in use, from smallestRenderScale to 1; shown with the F2 statistics while below 1.
extern float renderScale;

constexpr float smallestRenderScale = 0.5f;

// The scale for the coming frames after frames that took frameSeconds on average at `scale`:
// smaller while they run over 1/60 s, larger again while the larger scale would still fit.
float nextRenderScale(float scale, double frameSeconds);
// A side of `side` pixels at renderScale, rounded, never below one pixel.
int scaledSide(int side);
// Once per frame in play: takes the fixed scale, or times the frame since the last call and
// adapts renderScale.
void updateRenderScale();
// Binds the off-screen target of renderScale × the window's size for the lit pass, cleared,
// with the viewport over it. Only while renderScale is below 1.
void beginScaledScene(int windowWidth, int windowHeight);
// Stretches the off-screen picture over the whole window and binds the window again.
void endScaledScene(int windowWidth, int windowHeight);
