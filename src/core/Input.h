#pragma once
// One frame's input as data. The frame loop takes it once, right after the events are polled;
// every part of the frame reads what it needs from it, and only takeInput asks the platform for
// keys, buttons, the cursor, focus, the framebuffer size and the clock.
#include <bitset>

class Platform;

// Key codes below this (the window library's last key is 348); mouse buttons below the other.
constexpr int keyCodeCount = 349;
constexpr int mouseButtonCount = 8;

struct InputSnapshot {
    std::bitset<keyCodeCount> keysHeld;
    // Held now and not in the previous snapshot (markPresses).
    std::bitset<keyCodeCount> keysPressed;
    std::bitset<mouseButtonCount> buttonsHeld;
    std::bitset<mouseButtonCount> buttonsPressed;
    double cursorX = 0.0;
    double cursorY = 0.0;
    bool focused = false;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    // The platform's clock when the snapshot was taken: the frame's time.
    double time = 0.0;
    // 1 for the first snapshot of the game.
    unsigned long frame = 0;

    bool held(int key) const { return key >= 0 && key < keyCodeCount && keysHeld[key]; }
    bool pressed(int key) const { return key >= 0 && key < keyCodeCount && keysPressed[key]; }
    bool buttonHeld(int button) const { return button >= 0 && button < mouseButtonCount && buttonsHeld[button]; }
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

// Reads the platform once (every key and button, which also uses up the sticky keys' one read)
// and marks the presses against previous.
InputSnapshot takeInput(Platform& platform, const InputSnapshot& previous);
