#pragma once
// Builds the whole world once, after the window exists and before the first frame, placing
// everything where app/Level.h says. The world's objects are created here with new and live until
// the process ends (the shutdown releases a few). Each is declared beside its own type: `loader` in
// SceneLoader.h, `player` in Player.h, the programs in ShaderProgram.h, the screen images in
// OverlayImage.h, the lights in Light.h; only the exhibits, which nothing below the shell uses, are
// here.

#include "app/Level.h"

class Object;
class LodObject;
class Crate;

// The exhibits, stepped by the frame update.
extern Object* combine;
extern Object* combineRotor;
extern LodObject* giantCow;
extern Crate* crates[level::crateCount];

void worldAssembly();
// The three lights with their settings; the first one becomes the flashlight.
void placeLights();
// Releases the few world objects that the shutdown releases.
void releaseWorld();
