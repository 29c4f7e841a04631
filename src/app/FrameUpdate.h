#pragma once
// The game step of one frame of play: the player, the statues' pursuit and the activators
// (scene/Pursuit.h), the exhibits and the physics step.
#include "core/Input.h"
// The activators, which the world assembly places and the update asks.
#include "scene/Pursuit.h"

// Moves the world forward by deltaTime (what it reads and writes is listed at frameUpdate in
// FrameUpdate.cpp): the player (or, while paused, the player held), pursuit, activators, harvester
// and rotor, one physics step, the harvester following the vehicle box, the cow and the crates.
void frameUpdate(const InputSnapshot& input);
