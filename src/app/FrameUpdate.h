#pragma once
// The game step of one frame of play and the game's rules: statues pursue while unseen and catch
// on touch (lost), activators wake their statue groups, falling out of the world wins.
#include <glm/vec3.hpp>

#include <vector>

#include "core/Input.h"

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

// Moves the world forward by deltaTime (what it reads and writes is listed at frameUpdate in
// FrameUpdate.cpp): the player (or, while paused, the player held), pursuit, activators, harvester
// and rotor, one physics step, the harvester following the vehicle box, the cow and the crates.
void frameUpdate(const InputSnapshot& input);
