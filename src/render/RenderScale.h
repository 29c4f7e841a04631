#pragma once
// The 3D scene's resolution as a share of each side of the window. A renderer that cannot keep
// 60 frames a second draws the lit pass smaller, into an off-screen target stretched over the
// window; the HUD, the pause menu and the screen images are always drawn at full resolution.
#include <GL/glew.h>

// RENDER_SCALE of config.ini: 0 lets the frame time choose, 50 to 100 fixes the scale in percent.
extern int renderScaleSetting;
// The scale chosen for play, from smallestRenderScale to 1.
extern float renderScale;

constexpr float smallestRenderScale = 0.5f;

// The scale for the coming frames after frames whose own work took frameSeconds on average at
// `scale`: smaller while they run over 1/60 s, larger again while the larger scale would still fit.
float nextRenderScale(float scale, double frameSeconds);
// The scale the scene is drawn at: renderScale in play; 1 while paused, and for the rest of the
// session once a scaled target could not be made. F2 shows it while below 1.
float sceneScale();
// A side of `side` pixels at sceneScale(), rounded, never below one pixel.
int scaledSide(int side);
// Once per frame in play, before its work: takes the fixed scale and starts the frame's clock.
void updateRenderScale();
// Just before the swap of a frame in play: waits for its drawing to finish and adapts the scale to
// the time the frame's own work took, not the time the display then makes it wait. Paused frames
// and a fixed scale are not timed.
void timeFrameWork();
// One frame's own work took `seconds` at renderScale: decides every few frames. A single frame over
// a quarter of a second (loading, a moved window) is left out; a second one in a row is counted.
void adaptRenderScale(double seconds);
// Checks the framebuffer bound for `target` (its name in the console line) of width × height; an
// incomplete one says so in one line and the scene is drawn at full size from then on.
bool scaledTargetComplete(const char* target, int width, int height);
// Binds the off-screen target of sceneScale() × the window's size for the lit pass, cleared, with
// the viewport over it, and returns true; only while sceneScale() is below 1. If that target is
// incomplete, binds the window at full size instead and returns false.
bool beginScaledScene(int windowWidth, int windowHeight);
// Stretches the off-screen picture over the whole window and binds the window again.
void endScaledScene(int windowWidth, int windowHeight);
