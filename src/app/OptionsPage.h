#pragma once
// The pause menu's options page: the player's settings with their values, each lowered and raised
// by a click on its arrows or by the arrow keys, "Controls" (a key for each command: pick it, press
// the new key; "Reset" puts back the defaults), and "Back" to the pause menu. A change takes effect
// at once; leaving the page saves the changed settings into config.ini.
struct InputSnapshot;

// Opens the page and remembers the settings as they are, to see on leaving what changed.
void openOptions();
// Once a frame while paused with the page open, after the frame passes: draws the page over the
// scene at full resolution and acts on the frame's clicks and keys.
void optionsPage(const InputSnapshot& input);
// True while the page waits for the key a command is to be bound to: that key only binds.
bool optionsTakeKeys();
// False while a journal is played back: the choices made on the page are the recording's, and a
// replay writes nothing.
extern bool optionsSaveOnLeaving;
// Closes the page (Back, the pause ended or the game quitting) and saves the changed settings into
// configSavePath(); nothing is written when nothing changed.
void leaveOptions();
