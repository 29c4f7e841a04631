#include "app/Platform.h"

#include <GLFW/glfw3.h>

#include "app/Window.h"

// The game's own codes are GLFW's, so they pass through unchanged.
static_assert(keys::space == GLFW_KEY_SPACE && keys::a == GLFW_KEY_A && keys::c == GLFW_KEY_C && keys::d == GLFW_KEY_D &&
              keys::f == GLFW_KEY_F && keys::g == GLFW_KEY_G && keys::h == GLFW_KEY_H && keys::i == GLFW_KEY_I &&
              keys::m == GLFW_KEY_M && keys::n == GLFW_KEY_N && keys::p == GLFW_KEY_P && keys::r == GLFW_KEY_R &&
              keys::s == GLFW_KEY_S && keys::w == GLFW_KEY_W);
static_assert(keys::escape == GLFW_KEY_ESCAPE && keys::enter == GLFW_KEY_ENTER && keys::right == GLFW_KEY_RIGHT &&
              keys::left == GLFW_KEY_LEFT && keys::down == GLFW_KEY_DOWN && keys::up == GLFW_KEY_UP &&
              keys::f1 == GLFW_KEY_F1 && keys::f2 == GLFW_KEY_F2 && keys::f3 == GLFW_KEY_F3 && keys::f6 == GLFW_KEY_F6 &&
              keys::f8 == GLFW_KEY_F8 && keys::leftShift == GLFW_KEY_LEFT_SHIFT);
static_assert(mouseButtonLeft == GLFW_MOUSE_BUTTON_LEFT && keyPress == GLFW_PRESS && keyRelease == GLFW_RELEASE);

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
void GlfwPlatform::getFramebufferSize(int* width, int* height) { glfwGetFramebufferSize(mainWindow, width, height); }
void GlfwPlatform::setWindowSize(int width, int height) { glfwSetWindowSize(mainWindow, width, height); }

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

void ScriptedPlatform::getFramebufferSize(int* width, int* height)
{
    *width = *height = 0;
    if (mainWindow)
        glfwGetFramebufferSize(mainWindow, width, height);
}

void ScriptedPlatform::setWindowSize(int width, int height)
{
    if (mainWindow)
        glfwSetWindowSize(mainWindow, width, height);
}
