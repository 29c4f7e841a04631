// A whole game by gamepad alone, through the scripted platform's gamepad.
#include "WorldHarness.h"
#include "core/Input.h"
#include "render/Hud.h"

class Gamepad : public WorldTest {
protected:
    void push(int button)
    {
        input.pressPad(0, button), frame();
        input.releasePad(0, button), frame();
    }
};

TEST_F(Gamepad, AWholeGameByGamepadAlone)
{
    testing::internal::CaptureStdout();
    input.connectGamepad(0, "Test Pad");
    input.connectGamepad(1, "Pedals", false);
    frames(3);
    push(pad::south);
    ASSERT_FALSE(showStartScreen) << "the south button leaves the start screen";
    frames(30);

    const glm::vec3 start = playerPosition();
    input.tiltPad(0, pad::leftY, -0.6f);
    frames(10);
    const float halfTilt = playerPosition().z - start.z;
    input.tiltPad(0, pad::leftY, -1.0f);
    frames(10);
    EXPECT_GT(halfTilt, 0.05f) << "the stick pushed away walks forward";
    EXPECT_NEAR(playerPosition().z - start.z - halfTilt, 0.5f, 0.05f) << "full tilt: the walking speed";
    EXPECT_NEAR(halfTilt, 0.125f, 0.03f) << "half way past the dead zone: a quarter of it";
    input.tiltPad(0, pad::leftY, 0.0f);

    const float facing = yaw;
    input.tiltPad(0, pad::rightX, 0.15f);
    frames(10);
    EXPECT_EQ(yaw, facing) << "a stick resting off centre does not drift the view";
    input.tiltPad(0, pad::rightX, 1.0f);
    frames(10);
    EXPECT_NEAR(yaw, facing - 0.5f, 0.06f) << "full tilt right turns right at the look speed";
    input.tiltPad(0, pad::rightX, 0.0f);
    frames(30);

    input.pressPad(0, pad::south);
    frames(2);
    EXPECT_GT(player->body->getLinearVelocity().y, 2.0f) << "the south button jumps";
    frames(60);
    input.releasePad(0, pad::south);
    frame();

    push(pad::start);
    ASSERT_TRUE(paused);
    for (float tilt : {0.4f, 0.0f, 0.6f, 0.6f, 0.0f})  // the stick held past half way: the first entry
        input.tiltPad(0, pad::leftY, tilt), frame();
    for (int button : {pad::dpadDown, pad::dpadDown, pad::dpadUp})  // the second, the third, the second again
        push(button);
    push(pad::south);
    expectWindow(1280, 720);  // the highlighted entry, not the one under the resting cursor
    for (int i = 0; i < 4; ++i)  // past the three resolutions: "Options"
        push(pad::dpadDown);
    push(pad::south);
    EXPECT_TRUE(optionsOpen);
    push(pad::start);
    EXPECT_FALSE(paused || optionsOpen);

    input.disconnectGamepad(0);
    frame();
    EXPECT_TRUE(paused) << "a gamepad lost in play pauses";
    input.connectGamepad(2, "Second Pad");
    frame();
    input.connectGamepad(0, "Test Pad");
    frame();
    EXPECT_EQ(frameInput.pad.id, 2) << "the gamepad in hand keeps playing when one comes back in a lower slot";
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_NE(console.find("Gamepad connected: Test Pad\n"), std::string::npos);
    EXPECT_NE(console.find("Gamepad disconnected: Test Pad\n"), std::string::npos);
    EXPECT_EQ(console.find("Pedals has no gamepad mapping, ignored"),
              console.rfind("Joystick Pedals has no gamepad mapping, ignored") + 9) << "named once";
}
