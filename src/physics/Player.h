#pragma once
// The player: a rigid sphere whose horizontal velocity the keys set each frame, with the camera
// 2.5 above its centre looking where the mouse points.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "physics/Engine.h"

class PhysicsWorld;

struct Player {
    phys::RigidDynamic* body = nullptr;
    float lastBodyY = 0.0f;  // body height at the end of the previous update
    int caughtBy = 0;        // index into pursuers; meaningful only once caught
    bool fellOut = false;
};

constexpr float eyeHeight = 2.5f;
constexpr float mouseSpeed = 0.005f;

extern bool walkMode;
extern float moveSpeed;
extern float yaw;
extern float pitch;
extern bool jumpArmed;

// Camera, recomputed by every player update.
extern glm::vec3 viewDirection;
extern glm::vec3 rightVector;
extern glm::vec3 upVector;
extern glm::mat4 projectionMatrix;
extern glm::mat4 viewMatrix;

// The player at (1, 1, 1) with a sphere of radius 1.
Player* createPlayer(PhysicsWorld& world);
// Mouse look, movement, jump, camera matrices and the flashlight, once per frame of play; once
// caught, only holds the player.
void playerUpdate();
// In place of the update while paused (and by it once caught): the body keeps no horizontal
// velocity of its own, only what gravity gives it, and the player's clock and cursor keep pace,
// so the next update takes one frame's step and looks on from where the view was.
void holdPlayer();
// Back to the controls' start: walking, looking along +z, clock not started.
void resetPlayerControls();
