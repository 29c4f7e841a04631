#include "app/KeyboardCommands.h"

bool paused = false;
bool showHelp = false;
bool showStats = true;
bool wireframe = false;
bool shadowsEnabled = true;
bool showShadowMap = false;

void keyboardCommands()
{
    // The command keys arrive with the HUD and pause menu.
}
