#include "app/Platform.h"

#include <GLFW/glfw3.h>

#include "app/MainLoop.h"

namespace {

GlfwPlatform glfwPlatform;

// With sticky keys a release leaves the key reading as pressed once more, as GLFW does.
constexpr int stickyRelease = 3;

}  // namespace

Platform* platform = &glfwPlatform;

int GlfwPlatform::getKey(int key) { return glfwGetKey(mainWindow, key); }
int GlfwPlatform::getMouseButton(int button) { return glfwGetMouseButton(mainWindow, button); }
void GlfwPlatform::getCursorPos(double* x, double* y) { glfwGetCursorPos(mainWindow, x, y); }
void GlfwPlatform::setCursorPos(double x, double y) { glfwSetCursorPos(mainWindow, x, y); }

void GlfwPlatform::setCursorVisible(bool visible)
{
    // Asked every frame of play; only a change reaches the window system.
    const int mode = visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN;
    if (glfwGetInputMode(mainWindow, GLFW_CURSOR) != mode)
        glfwSetInputMode(mainWindow, GLFW_CURSOR, mode);
}

double GlfwPlatform::getTime() { return glfwGetTime(); }
bool GlfwPlatform::windowShouldClose() { return glfwWindowShouldClose(mainWindow); }
bool GlfwPlatform::windowFocused() { return glfwGetWindowAttrib(mainWindow, GLFW_FOCUSED) == GLFW_TRUE; }
void GlfwPlatform::pollEvents() { glfwPollEvents(); }

void ScriptedPlatform::press(int key) { queuedKeys.emplace_back(key, GLFW_PRESS); }
void ScriptedPlatform::release(int key) { queuedKeys.emplace_back(key, GLFW_RELEASE); }

void ScriptedPlatform::tap(int key)
{
    press(key);
    release(key);
}

void ScriptedPlatform::pressButton(int button) { queuedButtons.emplace_back(button, GLFW_PRESS); }
void ScriptedPlatform::releaseButton(int button) { queuedButtons.emplace_back(button, GLFW_RELEASE); }

void ScriptedPlatform::moveCursor(double x, double y)
{
    cursorX = x;
    cursorY = y;
}

int ScriptedPlatform::getKey(int key)
{
    auto found = keys.find(key);
    if (found == keys.end())
        return GLFW_RELEASE;
    if (found->second == stickyRelease) {
        found->second = GLFW_RELEASE;
        return GLFW_PRESS;
    }
    return found->second;
}

int ScriptedPlatform::getMouseButton(int button)
{
    auto found = buttons.find(button);
    return found == buttons.end() ? GLFW_RELEASE : found->second;
}

void ScriptedPlatform::getCursorPos(double* x, double* y)
{
    *x = cursorX;
    *y = cursorY;
}

void ScriptedPlatform::setCursorPos(double x, double y) { moveCursor(x, y); }
void ScriptedPlatform::setCursorVisible(bool visible) { cursorVisible = visible; }
double ScriptedPlatform::getTime() { return now; }
bool ScriptedPlatform::windowShouldClose() { return closeRequested; }
bool ScriptedPlatform::windowFocused() { return focused; }

void ScriptedPlatform::pollEvents()
{
    for (const auto& [key, action] : queuedKeys) {
        int& state = keys[key];
        if (action == GLFW_PRESS)
            state = GLFW_PRESS;
        else if (state != GLFW_RELEASE)
            state = stickyRelease;
    }
    queuedKeys.clear();
    for (const auto& [button, action] : queuedButtons)
        buttons[button] = action;
    queuedButtons.clear();
    if (mainWindow)
        glfwPollEvents();
}
