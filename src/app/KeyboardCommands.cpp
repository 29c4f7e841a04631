#include "app/KeyboardCommands.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/Config.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "app/WorldAssembly.h"
#include "core/Bindings.h"
#include "assets/SceneLoader.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "physics/PhysicsWorld.h"
#include "scene/Node.h"

namespace {

constexpr float vehicleForce = 100.0f;
// A hidden window gets no keys and shows no close button: it comes back by itself after this long.
constexpr double hiddenWindowSeconds = 3.0;

// The time at which a window hidden with H shows itself again; negative while it is not hidden.
double showWindowAt = -1.0;

// One command key and whether it was held when the commands last looked (markPress). Keys that
// start seen must be released once in play before they act, so a key held while leaving the start
// screen does nothing.
struct CommandKey {
    int key;  // a fixed key; bound for the player's commands
    void (*command)();
    bool seen;
    int bound = -1;  // the Command whose key (config.ini's KEY_ lines) this is
};
constexpr int boundKey = -1;

void togglePause() { paused = !paused; }
void toggleHelp() { showHelp = !showHelp; }
void toggleStats() { showStats = !showStats; }
void toggleWireframe()
{
    wireframe = !wireframe;
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}
void toggleShadows() { shadowsEnabled = !shadowsEnabled; }
void toggleCulling()
{
    if (loader)
        loader->cullingDisabled = !loader->cullingDisabled;
}
void toggleShadowMap() { showShadowMap = !showShadowMap; }
void showWindow()
{
    showWindowAt = -1.0;
    glfwShowWindow(mainWindow);
}
// The time of the frame the commands run in.
double frameTime = 0.0;

void hideWindow()
{
    glfwHideWindow(mainWindow);
    showWindowAt = frameTime + hiddenWindowSeconds;
}
void toggleWalkMode() { walkMode = !walkMode; }

int bound(Command command) { return static_cast<int>(command); }

CommandKey commandKeys[] = {
    {boundKey, togglePause, true, bound(Command::pause)}, {boundKey, toggleHelp, false, bound(Command::help)},
    {boundKey, toggleStats, false, bound(Command::stats)}, {GLFW_KEY_F3, toggleWireframe, false},
    {GLFW_KEY_F6, toggleShadows, false}, {GLFW_KEY_F8, toggleCulling, false}, {GLFW_KEY_C, toggleShadowMap, true},
    {GLFW_KEY_G, showWindow, true}, {GLFW_KEY_H, hideWindow, true},
};
CommandKey walkModeKey = {boundKey, toggleWalkMode, true, bound(Command::walkFly)};
CommandKey windowKey = {boundKey, recreateWindow, true, bound(Command::windowReset)};

void poll(const InputSnapshot& input, CommandKey& k)
{
    const bool held = k.bound >= 0 ? commandHeld(input, static_cast<Command>(k.bound)) : input.held(k.key);
    if (markPress(held, k.seen))
        k.command();
}

// The vehicle is pushed along world axes; a force lasts the one physics step of this frame.
void driveVehicle(const InputSnapshot& input)
{
    if (!vehicleBox)
        return;
    auto held = [&](int key) { return input.held(key); };
    if (held(GLFW_KEY_M))
        vehicleBox->setLinearVelocity(glm::vec3(0.0f), true);
    if (held(GLFW_KEY_UP))
        vehicleBox->addForce(glm::vec3(0.0f, 0.0f, -vehicleForce), phys::ForceMode::eFORCE, true);
    if (held(GLFW_KEY_DOWN))
        vehicleBox->addForce(glm::vec3(0.0f, 0.0f, vehicleForce), phys::ForceMode::eFORCE, true);
    if (held(GLFW_KEY_LEFT))
        vehicleBox->addForce(glm::vec3(-vehicleForce, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
    if (held(GLFW_KEY_RIGHT))
        vehicleBox->addForce(glm::vec3(vehicleForce, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
}

}  // namespace

void keyboardCommands(const InputSnapshot& input)
{
    frameTime = input.time;
    if (showWindowAt >= 0.0 && input.time >= showWindowAt)
        showWindow();
    for (CommandKey& k : commandKeys)
        poll(input, k);
    driveVehicle(input);
    poll(input, walkModeKey);
    poll(input, windowKey);
    if (input.held(GLFW_KEY_I) && combine)
        combine->translate(0.0f, 0.0f, -1.0f);
}

void recreateWindow()
{
    // A new window would need a new context and every texture, buffer and program made again;
    // changing the existing window's mode gives the same window the player expects.
    if (glfwGetWindowMonitor(mainWindow))
        glfwSetWindowMonitor(mainWindow, nullptr, 0, 0, screenWidth, screenHeight, GLFW_DONT_CARE);
    else
        glfwSetWindowSize(mainWindow, screenWidth, screenHeight);
    glfwSetWindowTitle(mainWindow, "Vellmar");
    showWindow();
    glfwMakeContextCurrent(mainWindow);
    glfwSetInputMode(mainWindow, GLFW_STICKY_KEYS, GLFW_TRUE);
    glViewport(0, 0, framebufferWidth, framebufferHeight);
}
