#pragma once
// Everything two-dimensional over the scene: the start screen and the HUD.

// The start screen image over the whole window.
void drawStartScreen();
// The HUD after each frame of play.
void drawHud();
