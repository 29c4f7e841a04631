// The player's controls (scripted keys and mouse, a fixed clock, a wide floor).
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "app/Level.h"
#include "app/Platform.h"
#include "core/Input.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "scene/Pursuit.h"

namespace {

class PlayerControls : public testing::Test {
protected:
    void SetUp() override
    {
        platform = &input;
        resetPlayerControls();
        caught = false;
        world = new PhysicsWorld();
        world->createStaticBox(0.0f, -0.5f, 0.0f, 50.0f, 0.5f, 50.0f);
        player = createPlayer(*world, level::playerRadius, level::playerStart.x, level::playerStart.y, level::playerStart.z);
        for (int i = 0; i < 120; ++i)
            world->step(1.0 / 60.0);
    }
    void TearDown() override
    {
        delete player;
        player = nullptr;
        caught = false;
    }

    // Each frame the clock moves on, the world steps, then the player reacts.
    void frames(int n, double dt = 1.0 / 60.0)
    {
        for (int i = 0; i < n; ++i) {
            input.now += dt;
            world->step(dt);
            input.pollEvents();
            snapshot = takeInput(input, snapshot);
            playerUpdate(snapshot);
        }
    }
    void frame(double dt = 1.0 / 60.0) { frames(1, dt); }

    glm::vec3 velocity() const { return player->body->getLinearVelocity(); }
    float horizontalSpeed() const { return std::hypot(velocity().x, velocity().z); }

    ScriptedPlatform input;
    InputSnapshot snapshot;
    PhysicsWorld* world = nullptr;
};

}  // namespace

TEST_F(PlayerControls, WalkingKeysCombineCancelAndStopAtOnceWhileFallingGoesOn)
{
    input.press(GLFW_KEY_W);
    input.press(GLFW_KEY_D);
    frame();
    EXPECT_NEAR(horizontalSpeed(), moveSpeed * std::sqrt(2.0f), 0.01f);
    input.press(GLFW_KEY_S);
    frame();
    EXPECT_NEAR(horizontalSpeed(), moveSpeed, 1e-4) << "W and S cancel, D remains";

    // A released key still reads pressed once (sticky keys); pushed off the ground, the next frame
    // without keys stops the body horizontally and keeps its vertical velocity.
    for (int key : {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_D})
        input.release(key);
    frame();
    player->body->setLinearVelocity(glm::vec3(3.0f, 5.0f, 3.0f), true);
    frame();
    EXPECT_EQ(horizontalSpeed(), 0.0f);
    EXPECT_GT(velocity().y, 0.0f);

    // Looking all but straight up, W still walks at full speed; straight up, it gives no movement and no NaN.
    input.press(GLFW_KEY_W);
    pitch = 1.566f;
    frame();
    EXPECT_NEAR(horizontalSpeed(), moveSpeed, 1e-3f);
    pitch = static_cast<float>(M_PI / 2.0);
    frame();
    EXPECT_LT(horizontalSpeed(), 1e-3f);
}

TEST_F(PlayerControls, SpaceHeldJumpsOnceAndAgainOnlyAfterReleaseAndRest)
{
    frame();
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_NEAR(velocity().y, 2.0f * moveSpeed, 0.2f);
    frames(80);
    for (int i = 0; i < 60; ++i) {
        frame();
        EXPECT_LT(velocity().y, 0.5f) << "held through the landing: frame " << i;
    }
    input.release(GLFW_KEY_SPACE);
    frames(2);
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_NEAR(velocity().y, 2.0f * moveSpeed, 0.2f);

    // Released and pressed again at the top of the arc, barely rising: not at rest, no second jump.
    input.release(GLFW_KEY_SPACE);
    for (int i = 0; i < 60 && velocity().y > 0.4f; ++i)
        frame();
    const float before = velocity().y;
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_LT(velocity().y, before);

    // At rest, but higher than at the last update (set down, carried): no jump either.
    frames(120);
    input.release(GLFW_KEY_SPACE);
    frames(2);
    player->body->setGlobalPose(phys::Transform(player->body->getGlobalPose().p + glm::vec3(0.0f, 0.2f, 0.0f)), true);
    input.press(GLFW_KEY_SPACE);
    input.pollEvents();
    playerUpdate(snapshot = takeInput(input, snapshot));
    EXPECT_LT(velocity().y, 0.5f);
}

TEST_F(PlayerControls, FlightMovesByStepAlongTheView)
{
    walkMode = false;
    input.press(GLFW_KEY_W);
    frames(2, 0.5);
    EXPECT_NEAR(velocity().z, moveSpeed * 0.5f, 1e-4);

    input.release(GLFW_KEY_W);
    input.press(GLFW_KEY_LEFT_SHIFT);
    frame(0.5);
    EXPECT_NEAR(velocity().y, -moveSpeed * 0.5f, 0.05f) << "Shift gives s * dt down, the body resting";
}

TEST_F(PlayerControls, MouseLooksFromTheEyeAndTheCursorIsPutBackUnlessCaught)
{
    input.moveCursor(612.0, 334.0);
    frame();
    EXPECT_EQ(glm::vec2(input.cursorX, input.cursorY), glm::vec2(512.0f, 384.0f));
    EXPECT_NEAR(yaw, -100 * mouseSpeed, 1e-6);
    EXPECT_NEAR(pitch, 50 * mouseSpeed, 1e-6);

    // The camera sits 2.5 above the body and looks along the view.
    const glm::vec3 eye = player->body->getGlobalPose().p + glm::vec3(0.0f, 2.5f, 0.0f);
    EXPECT_NEAR(glm::length(glm::vec3(viewMatrix * glm::vec4(eye, 1.0f))), 0.0f, 1e-4);
    EXPECT_NEAR((viewMatrix * glm::vec4(eye + viewDirection, 1.0f)).z, -1.0f, 1e-4);

    // MOUSE_SPEED scales the turn per pixel; INVERT_LOOK turns the vertical look round.
    for (const auto& [speed, invert, step] : {std::tuple(400, 0, 0.02f), std::tuple(10, 1, 5e-4f)}) {
        mouseSpeedPercent = speed, invertLook = invert, yaw = pitch = 0.0f;
        input.moveCursor(612.0, 334.0);
        frame();
        EXPECT_NEAR(glm::length(glm::vec2(yaw, pitch) - glm::vec2(-100, invert ? -50 : 50) * step), 0.0f, 1e-6) << speed;
    }
    mouseSpeedPercent = 100, invertLook = 0;

    input.press(GLFW_KEY_W);
    frame();
    caught = true;
    input.moveCursor(700.0, 300.0);
    frame();
    EXPECT_EQ(horizontalSpeed(), 0.0f) << "caught, the body keeps no velocity of its own";
    EXPECT_EQ(input.cursorX, 700.0) << "nothing is read or re-centred";
}
