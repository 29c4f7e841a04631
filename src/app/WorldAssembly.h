#pragma once
// Builds the whole world once, after the window exists and before the first frame. There is no
// level file: the tables in WorldAssembly.cpp are the level. The world's objects are created here
// with new and live until the process ends (the shutdown releases a few).

class ShaderProgram;
class OverlayImage;
class sceneLoader;
class Object;
class LodObject;
class Crate;
class Light;
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

// The exhibits and the lights.
extern Object* combine;
extern Object* combineRotor;
extern LodObject* giantCow;
extern Crate* crates[3];
extern Light* lights[3];

void worldAssembly();
// The three lights with their settings; the first one becomes the flashlight.
void placeLights();
// Releases the few world objects that the shutdown releases.
void releaseWorld();
