#pragma once
// The player's commands and the keys they are bound to. Escape and the keys for looking under the
// hood are fixed; every command here can be moved to another key (config.ini's KEY_ lines). The
// frame's readers ask commandHeld for a command, never for its key.
#include "core/Input.h"

enum class Command {
    forward,
    back,
    strafeLeft,
    strafeRight,
    jump,
    flyDown,
    flashlight,
    walkFly,
    pause,
    help,
    stats,
    windowReset,
};
constexpr int commandCount = 12;

// config.ini's key for each command ("KEY_FORWARD"), its default key, and what the help calls it.
extern const char* const commandSettings[commandCount];
extern const int defaultKeys[commandCount];
extern const char* const commandTitles[commandCount];
// The key each command is bound to now; readConfig and bindKey write it.
extern int boundKeys[commandCount];
// The gamepad button of each command (core/Input.h's pad::), -1 for none: walking is the left stick's.
extern const int commandButtons[commandCount];

// The key's name as the window library spells its constant without "GLFW_KEY_" ("W", "SPACE",
// "LEFT_SHIFT"); nullptr for a code that is no key.
const char* keyName(int key);
// The code of a key name (any case) or of a key's number; -1 for neither.
int keyNamed(const char* name);
// Why a key cannot be bound to a command: nullptr when it can; it may be a command's own key
// or another command's, which bindKey checks.
const char* fixedKeyReason(int key);

// Binds a key to a command unless it is fixed or another command holds it; returns the command
// holding it, -1 when bound, or commandCount when the key is fixed.
int bindKey(Command command, int key);
// Every command back on its default key.
void resetBindings();

// The command's key or gamepad button is held in this snapshot.
bool commandHeld(const InputSnapshot& input, Command command);
