#pragma once
// The two platforms behind the seam of core/Platform.h: GLFW in the game, and a ScriptedPlatform
// with a fixed clock for tests and benchmarks.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/Camera.h"
#include "core/Input.h"
#include "core/Platform.h"

// Straight to GLFW, on `mainWindow`.
class GlfwPlatform : public Platform {
public:
    int getKey(int key) override;
    int getMouseButton(int button) override;
    void getCursorPos(double* x, double* y) override;
    void setCursorPos(double x, double y) override;
    void setCursorVisible(bool visible) override;
    double getTime() override;
    bool windowShouldClose() override;
    bool windowFocused() override;
    bool windowVisible() override;
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override;
    void setWindowSize(int width, int height) override;
    const char* joystickName(int slot) override;
    bool getGamepadState(int slot, GamepadState* state) override;
    bool addGamepadMappings(const char* text) override;
};

// Input and time from a script. Key and button changes are queued and take effect at the next
// pollEvents, as real input does; the real window is still serviced there.
class ScriptedPlatform : public Platform {
public:
    double now = 0.0;
    double cursorX = cursorCentreX;
    double cursorY = cursorCentreY;
    bool closeRequested = false;
    bool cursorVisible = true;
    bool focused = true;

    void press(int key);
    void release(int key);
    // Pressed and released before the next poll.
    void tap(int key);
    void pressButton(int button);
    void releaseButton(int button);
    void moveCursor(double x, double y);
    // Gamepads, like keys, change at the next poll. A joystick without a mapping is no gamepad.
    void connectGamepad(int slot, const std::string& name, bool mapped = true);
    void disconnectGamepad(int slot);
    void pressPad(int slot, int button);
    void releasePad(int slot, int button);
    void tiltPad(int slot, int axis, float value);
    // The mapping lines added, one call after the other.
    std::string mappings;

    int getKey(int key) override;
    int getMouseButton(int button) override;
    void getCursorPos(double* x, double* y) override;
    void setCursorPos(double x, double y) override;
    void setCursorVisible(bool visible) override;
    double getTime() override;
    bool windowShouldClose() override;
    bool windowFocused() override;
    bool windowVisible() override;
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override;
    void setWindowSize(int width, int height) override;
    const char* joystickName(int slot) override;
    bool getGamepadState(int slot, GamepadState* state) override;
    bool addGamepadMappings(const char* text) override;

private:
    struct Joystick {
        std::string name;
        bool mapped = true;
        GamepadState state;
    };
    std::map<int, Joystick> joysticks;
    std::map<int, Joystick> nextJoysticks;
    std::map<int, int> keys;
    std::map<int, int> buttons;
    std::vector<std::pair<int, int>> queuedKeys;
    std::vector<std::pair<int, int>> queuedButtons;
};
