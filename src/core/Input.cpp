#include "core/Input.h"

#include "core/Platform.h"

namespace {

// The window library knows no key below the space bar.
constexpr int firstKeyCode = 32;

}  // namespace

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
}

InputSnapshot takeInput(Platform& platform, const InputSnapshot& previous)
{
    InputSnapshot now;
    for (int key = firstKeyCode; key < keyCodeCount; ++key)
        now.keysHeld[key] = platform.getKey(key) == keyPress;
    for (int button = 0; button < mouseButtonCount; ++button)
        now.buttonsHeld[button] = platform.getMouseButton(button) == keyPress;
    platform.getCursorPos(&now.cursorX, &now.cursorY);
    now.focused = platform.windowFocused();
    platform.getFramebufferSize(&now.framebufferWidth, &now.framebufferHeight);
    now.time = platform.getTime();
    now.frame = previous.frame + 1;
    markPresses(now, previous);
    return now;
}
