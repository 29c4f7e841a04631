#include "app/KeyboardCommands.h"

#include "app/Config.h"
#include "core/Platform.h"
#include "app/Window.h"
#include "app/WorldAssembly.h"
#include "core/Bindings.h"
#include "assets/SceneLoader.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "physics/PhysicsWorld.h"
#include "render/FramePasses.h"
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
    setWireframe(wireframe);
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
    showGameWindow(true);
}
// The time of the frame the commands run in.
double frameTime = 0.0;

void hideWindow()
{
    showGameWindow(false);
    showWindowAt = frameTime + hiddenWindowSeconds;
}
void toggleWalkMode() { walkMode = !walkMode; }

// The gamepad slot playing when the commands last looked; -1 for none.
int padSeen = -1;

int bound(Command command) { return static_cast<int>(command); }

CommandKey commandKeys[] = {
    {boundKey, togglePause, true, bound(Command::pause)}, {boundKey, toggleHelp, false, bound(Command::help)},
    {boundKey, toggleStats, false, bound(Command::stats)}, {keys::f3, toggleWireframe, false},
    {keys::f6, toggleShadows, false}, {keys::f8, toggleCulling, false}, {keys::c, toggleShadowMap, true},
    {keys::g, showWindow, true}, {keys::h, hideWindow, true},
};
CommandKey walkModeKey = {boundKey, toggleWalkMode, true, bound(Command::walkFly)};
// The window as configured, and shown, whether hidden with H or not.
void restoreWindow()
{
    showWindowAt = -1.0;
    recreateWindow();
}
CommandKey windowKey = {boundKey, restoreWindow, true, bound(Command::windowReset)};

void poll(const InputSnapshot& input, CommandKey& k, bool act)
{
    const bool held = k.bound >= 0 ? commandHeld(input, static_cast<Command>(k.bound)) : input.held(k.key);
    if (markPress(held, k.seen) && act)
        k.command();
}

// The vehicle is pushed along world axes; a force lasts the one physics step of this frame.
void driveVehicle(const InputSnapshot& input)
{
    if (!vehicleBox)
        return;
    auto held = [&](int key) { return input.held(key); };
    if (held(keys::m))
        vehicleBox->setLinearVelocity(glm::vec3(0.0f), true);
    if (held(keys::up))
        vehicleBox->addForce(glm::vec3(0.0f, 0.0f, -vehicleForce), phys::ForceMode::eFORCE, true);
    if (held(keys::down))
        vehicleBox->addForce(glm::vec3(0.0f, 0.0f, vehicleForce), phys::ForceMode::eFORCE, true);
    if (held(keys::left))
        vehicleBox->addForce(glm::vec3(-vehicleForce, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
    if (held(keys::right))
        vehicleBox->addForce(glm::vec3(vehicleForce, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
}

}  // namespace

void keyboardCommands(const InputSnapshot& input, bool keysTaken)
{
    // The gamepad playing at the commands' last look went away: the game waits for the player.
    if (padSeen >= 0 && input.pad.id != padSeen)
        paused = true;
    padSeen = input.pad.id;
    frameTime = input.time;
    if (showWindowAt >= 0.0 && input.time >= showWindowAt)
        showWindow();
    for (CommandKey& k : commandKeys)
        poll(input, k, !keysTaken);
    poll(input, walkModeKey, !keysTaken);
    poll(input, windowKey, !keysTaken);
    if (keysTaken)
        return;
    driveVehicle(input);
    if (input.held(keys::i) && combine)
        combine->translate(0.0f, 0.0f, -1.0f);
}

