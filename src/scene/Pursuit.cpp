#include "scene/Pursuit.h"

#include <cmath>

#include "assets/Mesh.h"
#include "core/Console.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "core/BoundingBox.h"
#include "scene/Node.h"
#include "scene/Registries.h"

namespace {

constexpr float fallLimit = -5.0f;
constexpr double approachStepFactor = 0.7;

glm::vec3 playerBodyPosition() { return player->body->getGlobalPose().p; }

}  // namespace

Activator::Activator(float x, float y, float z) : position(x, y, z)
{
    notice("Aktivator position: x: %g, y:%g, z:%g", x, y, z);
}

void Activator::checkProximity(float ex, float ey, float ez)
{
    const float dx = ex - position.x;
    const float dy = ey - position.y;
    const float dz = ez - position.z;
    if (std::sqrt(dx * dx + dy * dy + dz * dz) < activationRadius) {
        for (PhysicsObject* statue : pursuers)
            statue->chasing = false;
        for (PhysicsObject* statue : statues)
            statue->chasing = true;
    }
}

void pursuitUpdate(double dt)
{
    if (!player || !player->body)
        return;

    // Falling out of the world wins; tested even once caught.
    if (playerBodyPosition().y + eyeHeight < fallLimit)
        player->fellOut = true;
    if (caught)
        return;
    if (pursuers.empty())
        return;

    dangerNear = false;
    caught = false;
    for (size_t i = 0; i < pursuers.size(); ++i) {
        PhysicsObject* statue = pursuers[i];
        statue->update(dt);
        // A statue without a mesh or body has nothing to test or push.
        if (!statue->mesh || !statue->mesh->physicsActor)
            continue;
        const BoundingBox& box = *statue->mesh->boundingBox;
        glm::vec3 body = playerBodyPosition();
        glm::vec3 eye(body.x, body.y + eyeHeight, body.z);

        if (!dangerNear)
            dangerNear = box.isNear(eye);

        // Touch comes before sight: a statue in view still catches.
        if (box.isTouching(eye)) {
            statue->mesh->physicsActor->setLinearVelocity(glm::vec3(0.0f), true);
            player->caughtBy = static_cast<int>(i);
            caught = true;
            continue;
        }

        computeViewProjection();
        extractFrustumPlanes();
        if (box.isInFrustum()) {
            statue->mesh->physicsActor->setLinearVelocity(glm::vec3(0.0f), true);
        } else {
            body = playerBodyPosition();
            statue->approach(body.x, statue->localMatrix[3][1], body.z, static_cast<float>(dt * approachStepFactor));
        }
    }
}
