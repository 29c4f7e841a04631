#pragma once
// The gamepads: which one plays, what the console says of them, and the user's own mappings.
#include <filesystem>

class Platform;

// Looks at every joystick slot once a frame, before the frame's input is taken: a gamepad that comes
// or goes gets one console line naming it, a joystick without a mapping is named once and ignored.
// The gamepad playing keeps playing while it is there; otherwise the first in slot order plays.
// Returns its slot, -1 with none.
int watchGamepads(Platform& platform);

// Adds the mapping lines (SDL's game-controller format) of that file, when there is one. A damaged
// file gives one console line and is not used; the window library's own mappings stay.
void loadGamepadMappings(Platform& platform, const std::filesystem::path& file);
