#pragma once
// The process-wide flags and frame figures that subsystems below the application shell read. Each
// group is written by one place only, named above it.

// The frame loop's figures (app/MainLoop.cpp, which also applies the pause menu's resolution).
extern double deltaTime;
extern int framesPerSecond;
extern int framebufferWidth;
extern int framebufferHeight;

// The switches of the keyboard commands (app/KeyboardCommands.cpp).
extern bool paused;
extern bool showHelp;
extern bool showStats;
extern bool wireframe;
extern bool shadowsEnabled;
extern bool showShadowMap;

// The statues' pursuit (scene/Pursuit.cpp): some statue is near the player's eye this frame; a
// statue touched the player, and the game is lost for good.
extern bool dangerNear;
extern bool caught;
