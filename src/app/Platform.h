#pragma once
// Everything the game asks of the window system's input and timer goes through `platform`:
// keys, the mouse button, the cursor, the clock, the window's close flag and its input focus.
// The game uses GLFW by default; tests and benchmarks plug in a ScriptedPlatform with a fixed
// clock.
#include <map>
#include <utility>
#include <vector>

class Platform {
public:
    virtual ~Platform() = default;
    // GLFW_PRESS or GLFW_RELEASE, with sticky keys: a key pressed and released between two
    // polls reads as pressed once.
    virtual int getKey(int key) = 0;
    virtual int getMouseButton(int button) = 0;
    virtual void getCursorPos(double* x, double* y) = 0;
    virtual void setCursorPos(double x, double y) = 0;
    virtual void setCursorVisible(bool visible) = 0;
    virtual double getTime() = 0;
    virtual bool windowShouldClose() = 0;
    // Whether the window has the keyboard and mouse; only then can the cursor be put back.
    virtual bool windowFocused() = 0;
    virtual void pollEvents() = 0;
};

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
};

// Input and time from a script. Key and button changes are queued and take effect at the next
// pollEvents, as real input does; the real window is still serviced there.
class ScriptedPlatform : public Platform {
public:
    double now = 0.0;
    double cursorX = 512.0;
    double cursorY = 384.0;
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

private:
    std::map<int, int> keys;
    std::map<int, int> buttons;
    std::vector<std::pair<int, int>> queuedKeys;
    std::vector<std::pair<int, int>> queuedButtons;
};

extern Platform* platform;
