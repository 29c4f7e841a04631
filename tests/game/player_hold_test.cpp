// The player stays where the game left it while it cannot be played: paused, or with the window
// out of the player's hands (no input focus, or hidden with H); the caught player is held in the
// player's unit tests.
#include <cmath>

#include "WorldHarness.h"
#include "app/KeyboardCommands.h"

namespace {

float horizontalSpeed(const glm::vec3& v) { return std::hypot(v.x, v.z); }

}  // namespace

class PlayerHold : public WorldTest {
protected:
    // In play, with the command keys' starting latches cleared.
    void playReleased()
    {
        play();
        frame();
    }

    glm::vec3 velocity() const { return player->body->getLinearVelocity(); }
};

TEST_F(PlayerHold, PausingWhileWalkingInTheAirHoldsThePlaceButNotTheFall)
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
    input.moveCursor(700.0, 200.0);  // over the menu, as a player choosing a resolution
    frames(20, 0.25);
    EXPECT_NEAR(playerPosition().x, at.x, 1e-3f);
    EXPECT_NEAR(playerPosition().z, at.z, 1e-3f) << "paused, the player must not roll on";
    EXPECT_LT(playerPosition().y, at.y - 2.0f) << "gravity still acts";

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
    frames(10);
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
