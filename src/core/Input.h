#pragma once
// One frame's input as data. The frame loop takes it once, right after the events are polled;
// every part of the frame reads what it needs from it, and only takeInput asks the platform for
// keys, buttons, the cursor, focus, visibility, the framebuffer size and the clock.
#include <bitset>

class Platform;

// Key codes below this (the window library's last key is 348); mouse buttons below the other.
constexpr int keyCodeCount = 349;
constexpr int mouseButtonCount = 8;

// The gamepad in the window library's standard layout: its buttons, sticks and triggers.
constexpr int gamepadButtonCount = 15;
constexpr int gamepadAxisCount = 6;
namespace pad {
constexpr int south = 0;
constexpr int east = 1;
constexpr int west = 2;
constexpr int north = 3;
constexpr int back = 6;
constexpr int start = 7;
constexpr int dpadUp = 11;
constexpr int dpadRight = 12;
constexpr int dpadDown = 13;
constexpr int dpadLeft = 14;
// Axes from -1 to 1; a stick pushed away from the player reads negative y.
constexpr int leftX = 0;
constexpr int leftY = 1;
constexpr int rightX = 2;
constexpr int rightY = 3;
}  // namespace pad

// The playing gamepad as the platform read it; plain data, as a journal keeps it.
struct GamepadState {
    int id = -1;  // the joystick slot; -1 with no gamepad playing
    std::bitset<gamepadButtonCount> buttons;
    float axes[gamepadAxisCount] = {};
};

// A stick's tilt after the radial dead zone: nothing within gamepadDeadZone of the centre, then
// rising smoothly from zero to full tilt at the rim, in the stick's own direction.
constexpr float gamepadDeadZone = 0.2f;
void stickResponse(float x, float y, float& outX, float& outY);

struct InputSnapshot {
    std::bitset<keyCodeCount> keysHeld;
    // Held now and not in the previous snapshot (markPresses).
    std::bitset<keyCodeCount> keysPressed;
    std::bitset<mouseButtonCount> buttonsHeld;
    std::bitset<mouseButtonCount> buttonsPressed;
    GamepadState pad;
    std::bitset<gamepadButtonCount> padPressed;
    double cursorX = 0.0;
    double cursorY = 0.0;
    bool focused = false;
    bool visible = true;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    // The platform's clock when the snapshot was taken: the frame's time.
    double time = 0.0;
    // 1 for the first snapshot of the game.
    unsigned long frame = 0;

    bool held(int key) const { return key >= 0 && key < keyCodeCount && keysHeld[key]; }
    bool pressed(int key) const { return key >= 0 && key < keyCodeCount && keysPressed[key]; }
    bool buttonHeld(int button) const { return button >= 0 && button < mouseButtonCount && buttonsHeld[button]; }
    bool padHeld(int button) const { return button >= 0 && button < gamepadButtonCount && pad.buttons[button]; }
};

// "Pressed this frame", the one rule: a key or button counts as pressed at a look when it is held
// then and was not at the reader's previous look, which this look replaces. The platform's sticky
// keys make a tap between two looks read held at the next one, so a tap counts once; a key held
// over many looks counts once. A reader that does not look every frame (the command keys on the
// start screen, the jump while paused, the menu click off its entries) keeps its own last look.
inline bool markPress(bool heldNow, bool& heldAtLastLook)
{
    const bool pressed = heldNow && !heldAtLastLook;
    heldAtLastLook = heldNow;
    return pressed;
}

// The snapshot's presses: markPress for every key and button against the previous snapshot.
void markPresses(InputSnapshot& now, const InputSnapshot& previous);

// Reads the platform once (every key and button, which also uses up the sticky keys' one read,
// and the gamepad in that joystick slot, if any) and marks the presses against previous.
InputSnapshot takeInput(Platform& platform, const InputSnapshot& previous, int gamepad = -1);
