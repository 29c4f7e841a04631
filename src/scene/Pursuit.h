#pragma once
// The statues' pursuit: they move towards the player while unseen, freeze while seen, warn when
// near and catch on touch. Also notices the player falling out of the world.
// Its outcome, dangerNear and caught, is in core/GameState.h.
#include "core/GameState.h"

// Reads the player's body, the statues and the camera matrices; writes the statues' targets and
// bodies, the frustum planes, dangerNear, caught and the player's caughtBy and fellOut.
void pursuitUpdate(double dt);
