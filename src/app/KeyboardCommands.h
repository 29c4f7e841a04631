#pragma once
// The command keys of play: pause, overlays, render switches, walking mode, window keys and the
// vehicle. A command key acts once per press (markPress); vehicle keys act while held.

// The switches themselves (paused, showHelp, ...) are in core/GameState.h.
#include "core/GameState.h"
#include "core/Input.h"

// Looks at every command key once; called each frame of play after the frame update. Reads the keys;
// writes the switches, walkMode, the culling switch, the window, the vehicle's force and the
// harvester's place. With keysTaken (the options page waiting for a command's new key) the keys
// are looked at but do nothing, so the key being bound is not also used.
void keyboardCommands(const InputSnapshot& input, bool keysTaken = false);
