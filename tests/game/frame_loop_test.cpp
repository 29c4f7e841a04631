#include <cmath>

#include "WorldHarness.h"
#include "app/KeyboardCommands.h"
#include "render/Light.h"

namespace {

float horizontalSpeed(const glm::vec3& v) { return std::hypot(v.x, v.z); }

}  // namespace

using FrameLoop = WorldTest;

class StartScreen : public WorldTest, public testing::WithParamInterface<bool> {};

TEST_P(StartScreen, EnterOrStartCountsOnlyAfterTheLoopSawItUp)
{
    if (GetParam()) {
        input.press(GLFW_KEY_ENTER);
        frames(3);
        input.release(GLFW_KEY_ENTER);
        frames(2);
        EXPECT_TRUE(showStartScreen) << "neither holding nor releasing counts";
        input.press(GLFW_KEY_ENTER);
    } else {
        frames(9, 0.125);
        EXPECT_EQ(framesPerSecond, 8) << "the passes of the first second, start screen included";
        input.connectGamepad(0, "Test Pad");  // or a gamepad's Start button
        input.pressPad(0, pad::start);
    }
    EXPECT_TRUE(frame());
    EXPECT_FALSE(showStartScreen);
}
INSTANTIATE_TEST_SUITE_P(FrameLoop, StartScreen, testing::Values(true, false));

class LoopEnd : public WorldTest, public testing::WithParamInterface<bool> {};

TEST_P(LoopEnd, EscapeFinishesThePassAndACloseRequestSkipsIt)
{
    const bool escape = GetParam();
    frame();
    const double before = deltaTime;
    input.tap(GLFW_KEY_ENTER);
    if (escape)
        input.tap(GLFW_KEY_ESCAPE);
    else
        input.closeRequested = true;
    EXPECT_FALSE(frame(0.5));
    EXPECT_EQ(showStartScreen, !escape) << "the rest of the pass ran only after Escape";
    if (escape)
        EXPECT_FALSE(running);
    else
        EXPECT_EQ(deltaTime, before);
}
INSTANTIATE_TEST_SUITE_P(FrameLoop, LoopEnd, testing::Values(true, false));

class PlayerHold : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        if (!IsSkipped()) {
            play();
            frame();
        }
    }
    glm::vec3 velocity() const { return player->body->getLinearVelocity(); }
};

TEST_F(PlayerHold, PausingWhileWalkingInTheAirHoldsPlaceViewAndFlashlightButNotTheFall)
{
    input.press(GLFW_KEY_W);
    teleport(1.0f, 5.0f, 3.0f);
    frame();
    ASSERT_NEAR(horizontalSpeed(velocity()), 3.0f, 0.01f) << "walking before the pause";

    tap(GLFW_KEY_P);
    ASSERT_TRUE(paused);
    const glm::vec3 at = playerPosition();
    const float lookingAt = yaw;
    const glm::mat4 view = viewMatrix, projection = projectionMatrix;
    const glm::vec3 light = flashlight->position, beam = flashlight->direction;
    input.moveCursor(700.0, 200.0);  // over the menu, as a player choosing a resolution
    frames(20, 0.25);
    EXPECT_LT(glm::distance(glm::vec2(playerPosition().x, playerPosition().z), glm::vec2(at.x, at.z)), 1e-3f);
    EXPECT_LT(playerPosition().y, at.y - 2.0f) << "gravity still acts";
    EXPECT_TRUE(viewMatrix == view && projectionMatrix == projection);
    EXPECT_TRUE(flashlight->position == light && flashlight->direction == beam);

    input.release(GLFW_KEY_W);
    tap(GLFW_KEY_P);
    ASSERT_FALSE(paused);
    EXPECT_EQ(yaw, lookingAt) << "the view goes on from where the pause began";
}

TEST_F(PlayerHold, TheFirstFlightStepAfterALongPauseIsOneFrameLong)
{
    tap(GLFW_KEY_R);
    ASSERT_FALSE(walkMode);
    tap(GLFW_KEY_P);
    ASSERT_TRUE(paused);
    frames(10, 1.0);

    input.press(GLFW_KEY_W);
    tap(GLFW_KEY_P);
    ASSERT_FALSE(paused);
    frame();  // P acts after the player update: it moves again in the frame after
    // In flight W gives moveSpeed times the player's time step along the view: 3 / 60 here.
    EXPECT_NEAR(horizontalSpeed(velocity()), 3.0f / 60.0f, 1e-3f);
}

TEST_F(PlayerHold, MouseLookWaitsForInputFocusAndResumesWithoutAJump)
{
    const float lookingAt = yaw;
    input.focused = false;
    input.moveCursor(100.0, 384.0);  // where the cursor left the window
    frames(3);
    EXPECT_EQ(yaw, lookingAt) << "no mouse look without focus";

    input.focused = true;
    input.moveCursor(900.0, 100.0);  // where it came back
    frame();
    EXPECT_EQ(yaw, lookingAt) << "focus back: the cursor is only put back in the middle";
    EXPECT_EQ(glm::dvec3(pitch, input.cursorX, input.cursorY), glm::dvec3(0.0, 512.0, 384.0));

    turn(0.5f);
    frame();
    EXPECT_NEAR(yaw, lookingAt + 0.5f, 1e-4f) << "and looking works again";
}

TEST_F(PlayerHold, AWindowHiddenWithHShowsItselfAgain)
{
    tap(GLFW_KEY_H);
    ASSERT_FALSE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE));
    frames(5, 0.59);
    EXPECT_FALSE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE)) << "hidden for three seconds";
    frame(0.1);
    EXPECT_TRUE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE)) << "back again, where keys reach it";
}
