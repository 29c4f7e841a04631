#pragma once
// The player's body, movement and camera.
#include <glm/mat4x4.hpp>

#include "physics/Engine.h"

struct Player {
    phys::RigidDynamic* body = nullptr;
    float lastBodyY = 0.0f;
    int caughtBy = 0;  // index into pursuers; meaningful only once caught
    bool fellOut = false;
};

// Camera matrices, written at the end of every player update.
extern glm::mat4 projectionMatrix;
extern glm::mat4 viewMatrix;
