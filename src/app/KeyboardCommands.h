#pragma once
// The command keys of play: pause, overlays, render switches, walking mode, window keys and the vehicle.

extern bool paused;
extern bool showHelp;
extern bool showStats;
extern bool wireframe;
extern bool shadowsEnabled;
extern bool showShadowMap;

// Polls every command key once; called each frame of play after the frame update.
void keyboardCommands();
