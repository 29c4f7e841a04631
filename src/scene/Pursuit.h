#pragma once
// The statues' pursuit: they move towards the player while unseen, freeze while seen, warn when
// near and catch on touch. Also notices the player falling out of the world.
// Its outcome, dangerNear and caught, is in core/GameState.h.
#include <glm/vec3.hpp>

#include <vector>

#include "core/GameState.h"

class PhysicsObject;

// Within this distance of the player's eye an activator wakes its statues and puts every other
// statue to sleep.
constexpr float activationRadius = 5.0f;

class Activator {
public:
    std::vector<PhysicsObject*> statues;
    glm::vec3 position;

    Activator(float x, float y, float z);
    // Reads the eye; writes the chasing flag of every statue in pursuers when the eye is near.
    void checkProximity(float ex, float ey, float ez);
};

// Reads the player's body, the statues and the camera matrices; writes the statues' targets and
// bodies, the frustum planes, dangerNear, caught and the player's caughtBy and fellOut.
void pursuitUpdate(double dt);
