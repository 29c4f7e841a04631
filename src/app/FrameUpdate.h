#pragma once
// The game step of one frame of play and the game's rules.

// Moves the world forward by deltaTime.
void frameUpdate();
