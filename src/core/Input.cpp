#include "core/Input.h"

#include <cmath>

#include "core/Platform.h"

namespace {

// The window library knows no key below the space bar.
constexpr int firstKeyCode = 32;

}  // namespace

void stickResponse(float x, float y, float& outX, float& outY)
{
    const float length = std::sqrt(x * x + y * y);
    outX = outY = 0.0f;
    if (length <= gamepadDeadZone)
        return;
    const float t = std::fmin((length - gamepadDeadZone) / (1.0f - gamepadDeadZone), 1.0f);
    outX = x / length * t * t;
    outY = y / length * t * t;
}

void markPresses(InputSnapshot& now, const InputSnapshot& previous)
{
    for (int key = 0; key < keyCodeCount; ++key) {
        bool seen = previous.keysHeld[key];
        now.keysPressed[key] = markPress(now.keysHeld[key], seen);
    }
    for (int button = 0; button < mouseButtonCount; ++button) {
        bool seen = previous.buttonsHeld[button];
        now.buttonsPressed[button] = markPress(now.buttonsHeld[button], seen);
    }
    now.padPressed = now.pad.buttons & ~previous.pad.buttons;
}

InputSnapshot takeInput(Platform& platform, const InputSnapshot& previous, int gamepad)
{
    InputSnapshot now;
    for (int key = firstKeyCode; key < keyCodeCount; ++key)
        now.keysHeld[key] = platform.getKey(key) == keyPress;
    for (int button = 0; button < mouseButtonCount; ++button)
        now.buttonsHeld[button] = platform.getMouseButton(button) == keyPress;
    if (gamepad >= 0 && platform.getGamepadState(gamepad, &now.pad))
        now.pad.id = gamepad;
    else
        now.pad = GamepadState();
    platform.getCursorPos(&now.cursorX, &now.cursorY);
    now.focused = platform.windowFocused();
    now.visible = platform.windowVisible();
    platform.getFramebufferSize(&now.framebufferWidth, &now.framebufferHeight);
    now.time = platform.getTime();
    now.frame = previous.frame + 1;
    markPresses(now, previous);
    return now;
}
