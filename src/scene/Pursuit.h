#pragma once
// The statues' pursuit: they move towards the player while unseen, freeze while seen, warn when
// near and catch on touch. Also notices the player falling out of the world.

// Some statue is near the player's eye this frame.
extern bool dangerNear;
// A statue touched the player: the game is lost for good.
extern bool caught;

void pursuitUpdate(double dt);
