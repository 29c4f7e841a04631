#include "physics/Player.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

#include "core/Bindings.h"
#include "core/GameState.h"
#include "core/Input.h"
#include "core/Platform.h"
#include "physics/PhysicsWorld.h"

Player* player = nullptr;

bool walkMode = true;
float moveSpeed = 3.0f;
float yaw = 0.0f;
float pitch = 0.0f;

glm::vec3 rightVector(-1.0f, 0.0f, 0.0f);
glm::vec3 upVector(0.0f, 1.0f, 0.0f);

namespace {

// Whether the flashlight and jump commands were held when the player update last looked (markPress); a key held when
// play begins acts only once released.
bool flashlightSeen = true;
bool jumpSeen = true;
bool clockStarted = false;
double previousTime = 0.0;
// The previous update put the cursor back at the centre, so its offset now is the mouse's move.
bool cursorCentred = true;

// The horizontal part of v at length s; nothing when v is (all but) vertical, as when looking
// straight up or down, where the direction left over would be rounding noise.
glm::vec3 horizontal(const glm::vec3& v, float s)
{
    float length = std::sqrt(v.x * v.x + v.z * v.z);
    if (length < 1e-6f)
        return glm::vec3(0.0f);
    return s * glm::vec3(v.x, 0.0f, v.z) / length;
}

}  // namespace

Player* createPlayer(PhysicsWorld& world, float radius, float x, float y, float z)
{
    Player* created = new Player;
    created->body = world.createPlayerBody(radius, x, y, z);
    created->lastBodyY = 0.0f;
    created->fellOut = false;
    return created;
}

PlayerStep playerUpdate(const InputSnapshot& input)
{
    PlayerStep step;
    if (!player || !player->body)
        return step;
    if (caught) {
        holdPlayer(input);
        return step;
    }

    // The player's own clock: the first update has dt 0.
    const double now = input.time;
    if (!clockStarted) {
        previousTime = now;
        clockStarted = true;
    }
    float dt = static_cast<float>(now - previousTime);

    // Mouse look, with the cursor put back at a fixed point whatever the window size. Only a
    // focused window's cursor can be put back; after focus or a pause comes back the cursor is
    // only re-centred, so the view does not jump to wherever it was left.
    const bool focused = input.focused;
    if (focused) {
        const double x = input.cursorX, y = input.cursorY;
        platform->setCursorPos(cursorCentreX, cursorCentreY);
        if (cursorCentred) {
            // At MOUSE_SPEED=100 the factor is exactly 1: the turn per pixel the game always had.
            const float turn = mouseSpeed * (static_cast<float>(mouseSpeedPercent) / 100.0f);
            yaw += static_cast<float>(cursorCentreX - x) * turn;
            pitch += static_cast<float>(cursorCentreY - y) * (invertLook ? -turn : turn);
        }
    }
    cursorCentred = focused;

    // The right stick looks, the left one walks, both past the dead zone (core/Input.h).
    float walkRight = 0.0f, walkForward = 0.0f;
    if (input.pad.id >= 0) {
        float lookX = 0.0f, lookY = 0.0f;
        stickResponse(input.pad.axes[pad::rightX], input.pad.axes[pad::rightY], lookX, lookY);
        const float turn = gamepadLookRate * static_cast<float>(gamepadLookSpeed) / 100.0f * dt;
        yaw -= lookX * turn;
        pitch -= lookY * (invertLook ? -turn : turn);
        stickResponse(input.pad.axes[pad::leftX], input.pad.axes[pad::leftY], walkRight, walkForward);
        walkForward = -walkForward;
    }

    viewDirection = glm::vec3(static_cast<float>(std::cos(double(pitch)) * std::sin(double(yaw))),
                              static_cast<float>(std::sin(double(pitch))),
                              static_cast<float>(std::cos(double(pitch)) * std::cos(double(yaw))));
    // 1.57 rather than pi/2 is the game's own value; the right vector leans by that little.
    rightVector = glm::vec3(static_cast<float>(std::sin(double(yaw) - 1.57)), 0.0f,
                            static_cast<float>(std::cos(double(yaw) - 1.57)));
    upVector = glm::cross(rightVector, viewDirection);

    const float s = moveSpeed;
    glm::vec3 m(0.0f);
    const glm::vec3 flatRight(rightVector.x, 0.0f, rightVector.z);
    if (commandHeld(input, Command::forward))
        m += walkMode ? horizontal(viewDirection, s) : s * dt * viewDirection;
    if (commandHeld(input, Command::back))
        m -= walkMode ? horizontal(viewDirection, s) : s * dt * viewDirection;
    step.switchFlashlight = markPress(commandHeld(input, Command::flashlight), flashlightSeen);
    if (commandHeld(input, Command::strafeRight))
        m += walkMode ? horizontal(rightVector, s) : s * dt * flatRight;
    if (commandHeld(input, Command::strafeLeft))
        m -= walkMode ? horizontal(rightVector, s) : s * dt * flatRight;
    if (walkForward != 0.0f)
        m += walkMode ? horizontal(viewDirection, s * walkForward) : s * dt * walkForward * viewDirection;
    if (walkRight != 0.0f)
        m += walkMode ? horizontal(rightVector, s * walkRight) : s * dt * walkRight * flatRight;

    const glm::vec3 v = player->body->getLinearVelocity();
    const float bodyY = player->body->getGlobalPose().p.y;
    // A press is used up even where no jump can follow, as in mid-air.
    if (markPress(commandHeld(input, Command::jump), jumpSeen)) {
        if (!walkMode)
            m.y += s;
        // Only a body at rest may jump: no vertical speed and no height change since last time.
        if (std::fabs(v.y) < 0.01f && std::fabs(bodyY - player->lastBodyY) < 0.1f)
            m.y += 2.0f * s;
    }
    player->lastBodyY = bodyY;

    if (!walkMode && commandHeld(input, Command::flyDown))
        m -= s * dt * upVector;

    // Horizontal motion is the keys' alone; the simulation keeps the vertical velocity.
    player->body->setLinearVelocity(glm::vec3(m.x, v.y + m.y, m.z), true);

    const glm::vec3 p = player->body->getGlobalPose().p;
    const glm::vec3 eye(p.x, static_cast<float>(double(p.y) + double(eyeHeight)), p.z);
    projectionMatrix = cameraProjection();
    viewMatrix = glm::lookAt(eye, eye + viewDirection, upVector);
    previousTime = now;
    step.moved = true;
    step.eye = eye;
    step.dt = dt;
    return step;
}

void holdPlayer(const InputSnapshot& input)
{
    if (!player || !player->body)
        return;
    const glm::vec3 v = player->body->getLinearVelocity();
    player->body->setLinearVelocity(glm::vec3(0.0f, v.y, 0.0f), true);
    previousTime = input.time;
    clockStarted = true;
    cursorCentred = false;
}

void resetPlayerControls()
{
    walkMode = true;
    moveSpeed = 3.0f;
    yaw = 0.0f;
    pitch = 0.0f;
    jumpSeen = true;
    flashlightSeen = true;
    clockStarted = false;
    previousTime = 0.0;
    cursorCentred = true;
    resetBindings();
}
