#include "app/KeyboardCommands.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/Config.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "app/WorldAssembly.h"
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

// One command key with its previous-press latch. Keys whose latch starts set must be released
// once in play before they act, so a key held while leaving the start screen does nothing.
struct CommandKey {
    int key;
    void (*command)();
    bool latch;
};

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
void hideWindow()
{
    glfwHideWindow(mainWindow);
    showWindowAt = platform->getTime() + hiddenWindowSeconds;
}
void toggleWalkMode() { walkMode = !walkMode; }

CommandKey commandKeys[] = {
    {GLFW_KEY_P, togglePause, true},       {GLFW_KEY_F1, toggleHelp, false},    {GLFW_KEY_F2, toggleStats, false},
    {GLFW_KEY_F3, toggleWireframe, false}, {GLFW_KEY_F6, toggleShadows, false}, {GLFW_KEY_F8, toggleCulling, false},
    {GLFW_KEY_C, toggleShadowMap, true},   {GLFW_KEY_G, showWindow, true},      {GLFW_KEY_H, hideWindow, true},
};
CommandKey walkModeKey = {GLFW_KEY_R, toggleWalkMode, true};
CommandKey windowKey = {GLFW_KEY_N, recreateWindow, true};

bool held(int key) { return platform->getKey(key) == GLFW_PRESS; }

void poll(CommandKey& k)
{
    if (held(k.key)) {
        if (!k.latch) {
            k.command();
            k.latch = true;
        }
    } else {
        k.latch = false;
    }
}

// The vehicle is pushed along world axes; a force lasts the one physics step of this frame.
void driveVehicle()
{
    if (!vehicleBox)
        return;
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

void keyboardCommands()
{
    if (showWindowAt >= 0.0 && platform->getTime() >= showWindowAt)
        showWindow();
    for (CommandKey& k : commandKeys)
        poll(k);
    driveVehicle();
    poll(walkModeKey);
    poll(windowKey);
    if (held(GLFW_KEY_I) && combine)
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
