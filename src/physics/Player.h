#pragma once
// The player: a rigid sphere whose horizontal velocity the keys set each frame, with the camera
// 2.5 above its centre looking where the mouse points.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// The camera matrices and view direction the player update writes.
#include "core/Camera.h"

class PhysicsWorld;
struct InputSnapshot;
namespace phys {
class RigidDynamic;
}

struct Player {
    phys::RigidDynamic* body = nullptr;
    float lastBodyY = 0.0f;  // body height at the end of the previous update
    int caughtBy = 0;        // index into pursuers; meaningful only once caught
    bool fellOut = false;
};

// The one player, made by the world assembly.
extern Player* player;

constexpr float eyeHeight = 2.5f;
// Radians of turn per pixel of mouse move at MOUSE_SPEED=100.
constexpr float mouseSpeed = 0.005f;
// The right stick at full tilt turns the view this fast, times gamepadLookSpeed percent
// (core/GameState.h).
constexpr float gamepadLookRate = 3.0f;  // radians per second

extern bool walkMode;
extern float moveSpeed;
extern float yaw;
extern float pitch;

// The camera's other two axes, recomputed by every player update.
extern glm::vec3 rightVector;
extern glm::vec3 upVector;

// The player with its sphere of that radius centred at (x, y, z).
Player* createPlayer(PhysicsWorld& world, float radius, float x, float y, float z);
// What a player update leaves for the flashlight, which the frame update then moves and switches.
struct PlayerStep {
    bool moved = false;  // false without a player, or once caught
    bool switchFlashlight = false;
    glm::vec3 eye{0.0f};
    float dt = 0.0f;
};

// Mouse look, movement, jump and camera matrices, once per frame of play. Reads the frame's keys,
// cursor, focus and clock, caught, walkMode and the look and view settings (core/GameState.h);
// writes the body's velocity, yaw, pitch, the camera (core/Camera.h), rightVector and upVector,
// and puts the cursor back. Once caught, it only holds the player.
PlayerStep playerUpdate(const InputSnapshot& input);
// In place of the update while paused (and by it once caught): the body keeps no horizontal
// velocity of its own, only what gravity gives it, and the player's clock and cursor keep pace,
// so the next update takes one frame's step and looks on from where the view was.
void holdPlayer(const InputSnapshot& input);
// Back to the controls' start: walking, looking along +z, clock not started, the default keys.
void resetPlayerControls();
