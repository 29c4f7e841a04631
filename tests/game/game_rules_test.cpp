#include "WorldHarness.h"

#include <cmath>

#include "app/FrameUpdate.h"
#include "app/Level.h"
#include "app/KeyboardCommands.h"
#include "physics/PhysicsWorld.h"

namespace {

constexpr float pi = 3.14159265f;

glm::vec2 placeOf(const Node* node) { return glm::vec2(node->localMatrix[3][0], node->localMatrix[3][2]); }

}  // namespace

using GameRules = WorldTest;

TEST_F(GameRules, AssemblyListsTwentyStatuesThreeActivatorsAndOneChaser)
{
    // The level table lists the statues in the order they pursue.
    ASSERT_EQ(pursuers.size(), 20u);
    for (size_t i = 0; i < pursuers.size(); ++i) {
        EXPECT_EQ(placeOf(pursuers[i]), glm::vec2(level::statues[i].x, level::statues[i].z)) << "statue " << i;
        EXPECT_FLOAT_EQ(pursuers[i]->localMatrix[3][1], 0.3f);
        EXPECT_EQ(pursuers[i]->chasing, i == 0) << "statue " << i;
        ASSERT_NE(pursuers[i]->mesh, nullptr);
        EXPECT_NE(pursuers[i]->mesh->physicsActor, nullptr) << "every statue has its body";
    }
    ASSERT_EQ(activators.size(), 3u);
    EXPECT_EQ(activators[0]->position, glm::vec3(0, 0, 22));
    EXPECT_EQ(activators[1]->position, glm::vec3(0, 0, 105));
    EXPECT_EQ(activators[2]->position, glm::vec3(0, 0, 230));
    EXPECT_EQ(activators[0]->statues.size(), 12u);
    EXPECT_TRUE(activators[1]->statues.empty());
    EXPECT_EQ(activators[2]->statues.size(), 6u);
}

TEST_F(GameRules, TheStartScreenNeverStepsTheGame)
{
    const glm::vec3 statue = statuePosition(0);
    const glm::vec3 vehicle = vehicleBox->getGlobalPose().p;
    frame(3.0);  // a long first frame, as after loading
    frames(60);
    EXPECT_TRUE(showStartScreen);
    EXPECT_EQ(statuePosition(0), statue);
    EXPECT_EQ(vehicleBox->getGlobalPose().p, vehicle) << "no physics step before play";
}

TEST_F(GameRules, AnUnseenChaserClosesInAndASeenOneStopsDead)
{
    play();
    frames(60);
    const float seen = horizontalDistanceToStatue(0);
    frames(60);
    EXPECT_NEAR(horizontalDistanceToStatue(0), seen, 0.05f) << "watched, it stays put";

    turn(pi);
    frames(40);
    const float behind = horizontalDistanceToStatue(0);
    EXPECT_LT(behind, seen - 1.0f) << "behind the player's back it comes closer";

    turn(-pi);
    frames(2);
    const glm::vec3 v = pursuers[0]->mesh->physicsActor->getLinearVelocity();
    EXPECT_EQ(glm::vec2(v.x, v.z), glm::vec2(0.0f)) << "seen again, it freezes";
    const float frozen = horizontalDistanceToStatue(0);
    frames(30);
    EXPECT_NEAR(horizontalDistanceToStatue(0), frozen, 0.05f);
    EXPECT_FALSE(caught);
}

TEST_F(GameRules, AStatueInViewStillCatchesOnTouch)
{
    play();
    teleport(0.0f, 1.0f, 19.0f);  // right in front of the watching statue, looking at it
    frames(2);
    EXPECT_TRUE(caught);
    EXPECT_EQ(player->caughtBy, 0);

    // Caught for good: the player no longer moves or looks around.
    const glm::vec3 at = playerPosition();
    const glm::mat4 view = viewMatrix;
    input.press(GLFW_KEY_W);
    turn(1.0f);
    frames(30);
    EXPECT_NEAR(playerPosition().z, at.z, 0.05f);
    EXPECT_EQ(viewMatrix, view);
}

TEST_F(GameRules, ActivatorsFireStrictlyInsideTheirRadius)
{
    play();
    Activator& second = *activators[1];
    second.checkProximity(0.0f, 0.0f, 105.0f + 5.0f);
    EXPECT_TRUE(pursuers[0]->chasing) << "exactly 5 away does not fire";
    second.checkProximity(0.0f, 0.0f, 105.0f + 4.99f);
    EXPECT_FALSE(pursuers[0]->chasing) << "4.99 away puts every statue to sleep";
}

TEST_F(GameRules, ActivatorsWakeTheirGroupAndPutTheRestToSleep)
{
    play();
    auto chasingCount = [] {
        int count = 0;
        for (PhysicsObject* statue : pursuers)
            count += statue->chasing;
        return count;
    };
    teleport(-2.5f, 1.0f, 22.0f);
    frames(2);
    EXPECT_EQ(chasingCount(), 12);
    for (size_t i = 2; i < 14; ++i)
        EXPECT_TRUE(pursuers[i]->chasing);

    teleport(0.0f, 1.0f, 105.0f);
    frames(2);
    EXPECT_EQ(chasingCount(), 0) << "the second activator has no statues of its own";

    teleport(0.0f, 1.0f, 60.0f);
    frames(2);
    EXPECT_EQ(chasingCount(), 0) << "leaving a range changes nothing";

    teleport(-2.5f, 1.0f, 22.0f);
    frames(2);
    EXPECT_EQ(chasingCount(), 12);

    teleport(0.0f, 1.0f, 230.0f);
    frames(2);
    EXPECT_EQ(chasingCount(), 6);
    for (size_t i = 14; i < 20; ++i)
        EXPECT_TRUE(pursuers[i]->chasing);
}

TEST_F(GameRules, WhilePausedAChaserOutOfViewKeepsComingAndCatches)
{
    play();
    turn(pi);
    frames(2);
    input.tap(GLFW_KEY_P);
    frames(2);
    ASSERT_TRUE(paused);
    const glm::vec3 at = playerPosition();
    for (int i = 0; i < 1200 && !caught; ++i)
        frame();
    EXPECT_TRUE(caught) << "the statue reached the paused player";
    EXPECT_NEAR(playerPosition().x, at.x, 0.5f);
}

TEST_F(GameRules, FallingOutWinsAndBothOutcomesCanStand)
{
    play();
    teleport(0.0f, 1.0f, 19.0f);
    frames(2);
    ASSERT_TRUE(caught);
    EXPECT_FALSE(player->fellOut);

    teleport(-25.0f, -8.0f, 332.0f);  // in the pit, eye below -5
    frames(2);
    EXPECT_TRUE(player->fellOut);
    EXPECT_TRUE(caught);
    frames(60);
    EXPECT_LT(playerPosition().y, -10.0f) << "nothing stops the fall";
}

TEST_F(GameRules, TheRotorSpinsAndTheHarvesterFollowsTheVehicle)
{
    play();
    frames(120);
    const glm::vec3 box = vehicleBox->getGlobalPose().p;
    EXPECT_NEAR(combine->localMatrix[3][0], box.x, 1e-3);
    EXPECT_NEAR(combine->localMatrix[3][2], box.z, 1e-3);
    EXPECT_NEAR(box.y, 1.0f, 0.1f) << "the vehicle box rests on the floor";

    const glm::mat4 before = combineRotor->localMatrix;
    frame(0.01);  // ten degrees
    const glm::mat4 after = combineRotor->localMatrix;
    const float turned = std::acos(std::min(1.0f, glm::dot(glm::vec3(before[0]), glm::vec3(after[0])))) * 180.0f / pi;
    EXPECT_NEAR(turned, 10.0f, 0.1f);
}
