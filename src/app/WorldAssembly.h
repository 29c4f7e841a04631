#pragma once
// Builds the whole world once, after the window exists and before the first frame. The world's
// objects are created here with new and live until the process ends (the shutdown releases a few).

class ShaderProgram;
class OverlayImage;
class sceneLoader;
struct Player;

// The one model loader; it holds the physics world.
extern sceneLoader* loader;
extern Player* player;

// The three shader programs.
extern ShaderProgram* mainProgram;
extern ShaderProgram* textProgram;
extern ShaderProgram* depthProgram;

// The screen images.
extern OverlayImage* fontImage;
extern OverlayImage* helpImage;
extern OverlayImage* mouseImage;
extern OverlayImage* keysImage;
extern OverlayImage* startImage;
extern OverlayImage* pauseImage;
extern OverlayImage* pauseImage1;
extern OverlayImage* pauseImage2;
extern OverlayImage* pauseImage3;
extern OverlayImage* wonImage;
extern OverlayImage* gameOverImage;

void worldAssembly();
// Releases the few world objects that the shutdown releases.
void releaseWorld();
