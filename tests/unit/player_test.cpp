#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/Level.h"
#include "app/Platform.h"
#include "app/WorldAssembly.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "scene/Pursuit.h"

namespace {

// A player on a wide floor, driven by scripted keys and mouse with a fixed clock.
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
        // Let the sphere settle on the floor.
        for (int i = 0; i < 120; ++i)
            world->step(1.0 / 60.0);
    }
    void TearDown() override
    {
        delete player;
        player = nullptr;
    }

    // One frame: the clock moves on, the world steps, then the player reacts.
    void frame(double dt = 1.0 / 60.0)
    {
        input.now += dt;
        world->step(dt);
        input.pollEvents();
        playerUpdate();
    }

    glm::vec3 velocity() const { return player->body->getLinearVelocity(); }
    float horizontalSpeed() const { return std::hypot(velocity().x, velocity().z); }

    ScriptedPlatform input;
    PhysicsWorld* world = nullptr;
};

}  // namespace

TEST_F(PlayerControls, NoKeyStopsHorizontallyAtOnceWhileFallingGoesOn)
{
    input.press(GLFW_KEY_W);
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_NEAR(horizontalSpeed(), moveSpeed, 1e-4);

    // Let go of W (a released key still reads pressed once: sticky keys), then push the body off
    // the ground: the next frame without keys stops it horizontally at once.
    input.release(GLFW_KEY_W);
    frame();
    player->body->setLinearVelocity(glm::vec3(3.0f, 5.0f, 3.0f), true);
    frame();
    EXPECT_EQ(velocity().x, 0.0f);
    EXPECT_EQ(velocity().z, 0.0f);
    EXPECT_GT(velocity().y, 0.0f) << "the simulated vertical velocity is kept";
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_LT(velocity().y, 0.0f) << "gravity pulls it down again";
}

TEST_F(PlayerControls, WalkingKeysCombineAndCancel)
{
    input.press(GLFW_KEY_W);
    input.press(GLFW_KEY_D);
    frame();
    EXPECT_NEAR(horizontalSpeed(), 3.0f * std::sqrt(2.0f), 0.01f);

    input.press(GLFW_KEY_S);
    frame();
    EXPECT_NEAR(horizontalSpeed(), moveSpeed, 1e-4) << "W and S cancel, D remains";

    input.release(GLFW_KEY_D);
    frame();
    frame();
    EXPECT_NEAR(horizontalSpeed(), 0.0f, 1e-6);
}

TEST_F(PlayerControls, WalkingStraightUpOrDownAddsNoMovementFromWAndS)
{
    input.press(GLFW_KEY_W);
    frame();
    // Pitch to exactly a quarter turn up: the view has no horizontal part left.
    pitch = static_cast<float>(M_PI / 2.0);
    input.moveCursor(512.0, 384.0);
    frame();
    EXPECT_TRUE(std::isfinite(velocity().x));
    EXPECT_LT(horizontalSpeed(), 1e-3f);
}

TEST_F(PlayerControls, SpaceHeldJumpsOnceAndAgainOnlyAfterReleaseAndRest)
{
    frame();
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_NEAR(velocity().y, 2.0f * moveSpeed, 0.2f) << "a jump of 6 upward";

    // Holding Space through the landing and after it does not jump again.
    for (int i = 0; i < 80; ++i)
        frame();
    for (int i = 0; i < 60; ++i) {
        frame();
        EXPECT_LT(velocity().y, 0.5f) << "frame " << i;
    }

    // A released key still reads pressed once (sticky keys), so the release shows a frame later.
    input.release(GLFW_KEY_SPACE);
    frame();
    frame();
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_NEAR(velocity().y, 2.0f * moveSpeed, 0.2f);

    // Released and pressed again mid-air: the body is not at rest, so no second jump.
    input.release(GLFW_KEY_SPACE);
    frame();
    frame();
    float before = velocity().y;
    input.press(GLFW_KEY_SPACE);
    frame();
    EXPECT_LT(velocity().y, before);
}

TEST_F(PlayerControls, FlightMovesByStepAlongTheView)
{
    walkMode = false;
    input.press(GLFW_KEY_W);
    frame(0.5);
    frame(0.5);
    // In flight W gives s * dt along the view as a velocity; gravity still acts on y.
    EXPECT_NEAR(velocity().z, moveSpeed * 0.5f, 1e-4);
    EXPECT_NEAR(velocity().x, 0.0f, 1e-4);

    input.release(GLFW_KEY_W);
    input.press(GLFW_KEY_LEFT_SHIFT);
    frame(0.5);
    EXPECT_NEAR(velocity().x, 0.0f, 1e-4);
    EXPECT_NEAR(velocity().y, -moveSpeed * 0.5f, 0.05f) << "Shift gives s * dt down, the body resting";
}

TEST_F(PlayerControls, MouseLooksAndTheCursorIsPutBack)
{
    input.moveCursor(612.0, 334.0);
    frame();
    EXPECT_EQ(input.cursorX, 512.0);
    EXPECT_EQ(input.cursorY, 384.0);
    EXPECT_NEAR(yaw, -100 * mouseSpeed, 1e-6);
    EXPECT_NEAR(pitch, 50 * mouseSpeed, 1e-6);
    EXPECT_NEAR(viewDirection.y, std::sin(pitch), 1e-6);

    // The camera sits 2.5 above the body and looks along the view.
    glm::vec3 body = player->body->getGlobalPose().p;
    glm::vec4 eyeInView = viewMatrix * glm::vec4(body.x, body.y + eyeHeight, body.z, 1.0f);
    EXPECT_NEAR(glm::length(glm::vec3(eyeInView)), 0.0f, 1e-4);
    glm::vec4 ahead = viewMatrix * glm::vec4(glm::vec3(body.x, body.y + eyeHeight, body.z) + viewDirection, 1.0f);
    EXPECT_NEAR(ahead.z, -1.0f, 1e-4);
    EXPECT_NEAR(projectionMatrix[1][1], 1.7320509f, 1e-5);
    EXPECT_NEAR(projectionMatrix[0][0], 1.2990381f, 1e-5);
}

TEST_F(PlayerControls, CaughtPlayerNoLongerMoves)
{
    input.press(GLFW_KEY_W);
    frame();
    caught = true;
    input.release(GLFW_KEY_W);
    input.moveCursor(700.0, 300.0);
    frame();
    EXPECT_EQ(horizontalSpeed(), 0.0f) << "caught, the body keeps no velocity of its own";
    EXPECT_EQ(input.cursorX, 700.0) << "nothing is read or re-centred";
    caught = false;
}
