#pragma once
// The command keys of play: pause, overlays, render switches, walking mode, window keys and the
// vehicle. A command key acts once per press through its own latch; vehicle keys act while held.

extern bool paused;
extern bool showHelp;
extern bool showStats;
extern bool wireframe;
extern bool shadowsEnabled;
extern bool showShadowMap;

// Polls every command key once; called each frame of play after the frame update.
void keyboardCommands();
// Back to a window of the configured size titled "Vellmar", keeping the OpenGL context and
// everything made in it.
void recreateWindow();
