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
static_assert(gamepadButtonCount == GLFW_GAMEPAD_BUTTON_LAST + 1 && gamepadAxisCount == GLFW_GAMEPAD_AXIS_LAST + 1 &&
              pad::south == GLFW_GAMEPAD_BUTTON_A && pad::east == GLFW_GAMEPAD_BUTTON_B &&
              pad::west == GLFW_GAMEPAD_BUTTON_X && pad::north == GLFW_GAMEPAD_BUTTON_Y &&
              pad::back == GLFW_GAMEPAD_BUTTON_BACK && pad::start == GLFW_GAMEPAD_BUTTON_START &&
              pad::dpadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP && pad::dpadDown == GLFW_GAMEPAD_BUTTON_DPAD_DOWN &&
              pad::dpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT && pad::dpadRight == GLFW_GAMEPAD_BUTTON_DPAD_RIGHT &&
              pad::leftX == GLFW_GAMEPAD_AXIS_LEFT_X && pad::leftY == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              pad::rightX == GLFW_GAMEPAD_AXIS_RIGHT_X && pad::rightY == GLFW_GAMEPAD_AXIS_RIGHT_Y &&
              joystickSlots == GLFW_JOYSTICK_LAST + 1);
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
// Shown and not minimized: what a player would call visible.
static bool shown(GLFWwindow* window)
{
    return glfwGetWindowAttrib(window, GLFW_VISIBLE) == GLFW_TRUE && glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_FALSE;
}

bool GlfwPlatform::windowVisible() { return shown(mainWindow); }
void GlfwPlatform::pollEvents() { glfwPollEvents(); }
void GlfwPlatform::getFramebufferSize(int* width, int* height) { glfwGetFramebufferSize(mainWindow, width, height); }
void GlfwPlatform::setWindowSize(int width, int height) { glfwSetWindowSize(mainWindow, width, height); }

const char* GlfwPlatform::joystickName(int slot) { return glfwGetJoystickName(slot); }

bool GlfwPlatform::getGamepadState(int slot, GamepadState* state)
{
    GLFWgamepadstate read;
    if (!glfwGetGamepadState(slot, &read))
        return false;
    for (int button = 0; button < gamepadButtonCount; ++button)
        state->buttons[button] = read.buttons[button] == GLFW_PRESS;
    for (int axis = 0; axis < gamepadAxisCount; ++axis)
        state->axes[axis] = read.axes[axis];
    return true;
}

namespace {

// The window library reports a refused mapping line through its error callback, not its result.
bool mappingRefused = false;

void noteRefusedMapping(int, const char*) { mappingRefused = true; }

}  // namespace

bool GlfwPlatform::addGamepadMappings(const char* text)
{
    mappingRefused = false;
    GLFWerrorfun previous = glfwSetErrorCallback(noteRefusedMapping);
    const bool added = glfwUpdateGamepadMappings(text) == GLFW_TRUE;
    glfwSetErrorCallback(previous);
    return added && !mappingRefused;
}

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
// The real window's, as H and G leave it; shown when there is none.
bool ScriptedPlatform::windowVisible() { return !mainWindow || shown(mainWindow); }

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
    joysticks = nextJoysticks;
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

void ScriptedPlatform::connectGamepad(int slot, const std::string& name, bool mapped)
{
    Joystick& joystick = nextJoysticks[slot];
    joystick = Joystick();
    joystick.name = name;
    joystick.mapped = mapped;
}

void ScriptedPlatform::disconnectGamepad(int slot) { nextJoysticks.erase(slot); }
void ScriptedPlatform::pressPad(int slot, int button) { nextJoysticks[slot].state.buttons[button] = true; }
void ScriptedPlatform::releasePad(int slot, int button) { nextJoysticks[slot].state.buttons[button] = false; }
void ScriptedPlatform::tiltPad(int slot, int axis, float value) { nextJoysticks[slot].state.axes[axis] = value; }

const char* ScriptedPlatform::joystickName(int slot)
{
    auto found = joysticks.find(slot);
    return found == joysticks.end() ? nullptr : found->second.name.c_str();
}

bool ScriptedPlatform::getGamepadState(int slot, GamepadState* state)
{
    auto found = joysticks.find(slot);
    if (found == joysticks.end() || !found->second.mapped)
        return false;
    *state = found->second.state;
    return true;
}

bool ScriptedPlatform::addGamepadMappings(const char* text)
{
    mappings += text;
    return true;
}
