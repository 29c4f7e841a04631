#include "app/FrameUpdate.h"

#include <cmath>

#include "core/Console.h"
#include "core/FramePhase.h"
#include "app/WorldAssembly.h"
#include "assets/SceneLoader.h"
#include "core/GameState.h"
#include "physics/Engine.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "render/Light.h"
#include "scene/Pursuit.h"
#include "scene/Node.h"
#include "scene/Registries.h"

namespace {

constexpr double rotorDegreesPerSecond = 1000.0;

}  // namespace

// Reads the frame's input, paused, deltaTime, the player's body, the vehicle box and the activators;
// writes what the player update writes, the statues, their chasing flags, the exhibits and the
// physics world (one step).
void frameUpdate(const InputSnapshot& input)
{
    const double dt = deltaTime;

    // 1. The player first: velocity, camera and flashlight from this frame's input, so the pursuit
    //    judges and the passes draw the camera of this frame. Paused (by P in an earlier frame),
    //    the player is held.
    markFramePhase(FramePhase::player, true);
    if (!paused) {
        const PlayerStep step = playerUpdate(input);
        if (step.switchFlashlight)
            toggleFlashlight();
        if (step.moved)
            updateFlashlight(step.eye, viewDirection, step.dt);
    } else {
        holdPlayer(input);
    }
    markFramePhase(FramePhase::player, false);

    // 2. Statues: they see the camera the frame draws.
    markFramePhase(FramePhase::pursuit, true);
    pursuitUpdate(dt);
    markFramePhase(FramePhase::pursuit, false);

    // 3. Activators, from the player's eye.
    if (player && player->body) {
        for (size_t i = 0; i < activators.size(); ++i) {
            const glm::vec3 p = player->body->getGlobalPose().p;
            activators[i]->checkProximity(p.x, p.y + eyeHeight, p.z);
        }
    }

    // 4.-5. The harvester, and its rotor turning about its own axis.
    if (combine)
        combine->update(dt);
    if (combineRotor) {
        combineRotor->rotateY(static_cast<float>(dt * rotorDegreesPerSecond));
        combineRotor->update(dt);
    }

    // 6. One physics step of the frame's own length.
    markFramePhase(FramePhase::physicsStep, true);
    loader->physicsWorld->step(dt);
    markFramePhase(FramePhase::physicsStep, false);

    // 7. The harvester stands where the vehicle box is; its mesh follows on the next update.
    if (combine && vehicleBox) {
        const glm::vec3 p = vehicleBox->getGlobalPose().p;
        combine->setPosition(p.x, p.y, p.z);
    }

    // 8. The cow's level of detail and the crates.
    if (giantCow)
        giantCow->update(dt);
    for (Crate* crate : crates)
        if (crate)
            crate->update(dt);
}
