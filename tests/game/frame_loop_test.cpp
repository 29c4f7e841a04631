// The frame loop with scripted keys and a fixed clock: start screen, loop end, clock and frame rate,
// the phases of a frame, and a player held while the game cannot be played.
#include <cmath>
#include <utility>
#include <vector>

#include "WorldHarness.h"
#include "app/KeyboardCommands.h"
#include "core/FramePhase.h"
#include "render/Light.h"

namespace {

std::vector<std::pair<FramePhase, bool>> marks;

void record(FramePhase phase, bool begins) { marks.emplace_back(phase, begins); }

float horizontalSpeed(const glm::vec3& v) { return std::hypot(v.x, v.z); }

}  // namespace

using FrameLoop = WorldTest;
using FramePhases = WorldTest;

// Enter leaves the start screen once a frame has seen it up: held from the start it must be
// released and pressed again; tapped between two frames it counts.
class StartScreen : public WorldTest, public testing::WithParamInterface<bool> {};

TEST_P(StartScreen, EnterCountsOnlyAfterTheLoopSawItUp)
{
    if (GetParam()) {
        input.press(GLFW_KEY_ENTER);
        frames(3);
        input.release(GLFW_KEY_ENTER);
        frames(2);
        EXPECT_TRUE(showStartScreen) << "neither holding nor releasing counts";
        input.press(GLFW_KEY_ENTER);
    } else {
        frame();
        input.tap(GLFW_KEY_ENTER);
    }
    EXPECT_TRUE(frame());
    EXPECT_FALSE(showStartScreen);
}
INSTANTIATE_TEST_SUITE_P(FrameLoop, StartScreen, testing::Values(true, false));

// Escape ends the loop after the rest of its pass; a close request ends it before the pass.
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

TEST_F(FrameLoop, DeltaTimeAndFrameRateFollowTheClock)
{
    EXPECT_FALSE(input.cursorVisible) << "assembly hides the cursor";
    // Four passes a second on the start screen; a sample is taken once the clock is past a second.
    for (int i = 0; i < 4; ++i) {
        frame(0.25);
        EXPECT_DOUBLE_EQ(deltaTime, 0.25);
        EXPECT_EQ(framesPerSecond, 0) << "no sample before the first second is over";
    }
    frame(0.25);
    EXPECT_EQ(framesPerSecond, 4);

    // The sampling pass itself opens the next interval, which ends after 2.25 s.
    input.tap(GLFW_KEY_ENTER);
    for (int i = 0; i < 8; ++i)
        frame(0.125);
    EXPECT_DOUBLE_EQ(deltaTime, 0.125);
    EXPECT_EQ(framesPerSecond, 4);
    frame(0.125);
    EXPECT_EQ(framesPerSecond, 9);
    frame(0.0);
    EXPECT_DOUBLE_EQ(deltaTime, 0.0);
}

TEST_F(FramePhases, AFrameInPlayMarksEveryPhaseInOrderAndTheStartScreenOnlyTheSwap)
{
    using Marks = std::vector<std::pair<FramePhase, bool>>;
    framePhaseHook = record;
    frame(3.0);  // a long first frame, as after loading
    EXPECT_EQ(marks, (Marks{{FramePhase::swap, true}, {FramePhase::swap, false}})) << "the start screen steps nothing";

    input.tap(GLFW_KEY_ENTER);
    frame();
    marks.clear();
    frame();
    Marks inPlay = {
        {FramePhase::update, true},           {FramePhase::pursuit, true},      {FramePhase::pursuit, false},
        {FramePhase::physicsStep, true},      {FramePhase::physicsStep, false}, {FramePhase::update, false},
        {FramePhase::keyboardCommands, true}, {FramePhase::keyboardCommands, false},
        {FramePhase::shadowPass, true},       {FramePhase::shadowPass, false},  {FramePhase::litPass, true},
        {FramePhase::litPass, false},         {FramePhase::hud, true},          {FramePhase::hud, false},
        {FramePhase::sound, true},            {FramePhase::sound, false},       {FramePhase::swap, true},
        {FramePhase::swap, false},
    };
    EXPECT_EQ(marks, inPlay);
    framePhaseHook = nullptr;
}

class PlayerHold : public WorldTest {
protected:
    void playReleased()
    {
        play();
        frame();
    }
    glm::vec3 velocity() const { return player->body->getLinearVelocity(); }
};

TEST_F(PlayerHold, PausingWhileWalkingInTheAirHoldsPlaceViewAndFlashlightButNotTheFall)
{
    playReleased();
    input.press(GLFW_KEY_W);
    teleport(1.0f, 5.0f, 3.0f);
    frame();
    ASSERT_NEAR(horizontalSpeed(velocity()), 3.0f, 0.01f) << "walking before the pause";

    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_TRUE(paused);
    const glm::vec3 at = playerPosition();
    const float lookingAt = yaw;
    const glm::mat4 view = viewMatrix, projection = projectionMatrix;
    const glm::vec3 light = flashlight->position, beam = flashlight->direction;
    input.moveCursor(700.0, 200.0);  // over the menu, as a player choosing a resolution
    frames(20, 0.25);
    EXPECT_NEAR(playerPosition().x, at.x, 1e-3f);
    EXPECT_NEAR(playerPosition().z, at.z, 1e-3f) << "paused, the player must not roll on";
    EXPECT_LT(playerPosition().y, at.y - 2.0f) << "gravity still acts";
    EXPECT_EQ(viewMatrix, view);
    EXPECT_EQ(projectionMatrix, projection);
    EXPECT_EQ(flashlight->position, light);
    EXPECT_EQ(flashlight->direction, beam);

    input.release(GLFW_KEY_W);
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_FALSE(paused);
    EXPECT_EQ(yaw, lookingAt) << "the view goes on from where the pause began";
    EXPECT_EQ(input.cursorX, 512.0);
}

TEST_F(PlayerHold, TheFirstFlightStepAfterALongPauseIsOneFrameLong)
{
    playReleased();
    input.tap(GLFW_KEY_R);
    frame();
    ASSERT_FALSE(walkMode);
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_TRUE(paused);
    frames(10, 1.0);

    input.press(GLFW_KEY_W);
    input.tap(GLFW_KEY_P);
    frame();
    ASSERT_FALSE(paused);
    // In flight W gives moveSpeed times the player's time step along the view: 3 / 60 here.
    EXPECT_NEAR(horizontalSpeed(velocity()), 3.0f / 60.0f, 1e-3f);
}

TEST_F(PlayerHold, MouseLookWaitsForInputFocusAndResumesWithoutAJump)
{
    playReleased();
    const float lookingAt = yaw;
    input.focused = false;
    input.moveCursor(100.0, 384.0);  // where the cursor left the window
    frames(3);
    EXPECT_EQ(yaw, lookingAt) << "no mouse look without focus";

    input.focused = true;
    input.moveCursor(900.0, 100.0);  // where it came back
    frame();
    EXPECT_EQ(yaw, lookingAt) << "focus back: the cursor is only put back in the middle";
    EXPECT_EQ(pitch, 0.0f);
    EXPECT_EQ(input.cursorX, 512.0);
    EXPECT_EQ(input.cursorY, 384.0);

    turn(0.5f);
    frame();
    EXPECT_NEAR(yaw, lookingAt + 0.5f, 1e-4f) << "and looking works again";
}

TEST_F(PlayerHold, AWindowHiddenWithHShowsItselfAgain)
{
    playReleased();
    input.tap(GLFW_KEY_H);
    frame();
    ASSERT_FALSE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE));
    frames(2, 1.0);
    EXPECT_FALSE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE)) << "hidden for a few seconds";
    frames(2, 1.0);
    EXPECT_TRUE(glfwGetWindowAttrib(mainWindow, GLFW_VISIBLE)) << "back again, where keys reach it";
}
