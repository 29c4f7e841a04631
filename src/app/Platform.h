#pragma once
// The two platforms behind the seam of core/Platform.h: GLFW in the game, and a ScriptedPlatform
// with a fixed clock for tests and benchmarks.
#include <map>
#include <utility>
#include <vector>

#include "core/Camera.h"
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
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override;
    void setWindowSize(int width, int height) override;
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

    int getKey(int key) override;
    int getMouseButton(int button) override;
    void getCursorPos(double* x, double* y) override;
    void setCursorPos(double x, double y) override;
    void setCursorVisible(bool visible) override;
    double getTime() override;
    bool windowShouldClose() override;
    bool windowFocused() override;
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override;
    void setWindowSize(int width, int height) override;

private:
    std::map<int, int> keys;
    std::map<int, int> buttons;
    std::vector<std::pair<int, int>> queuedKeys;
    std::vector<std::pair<int, int>> queuedButtons;
};
