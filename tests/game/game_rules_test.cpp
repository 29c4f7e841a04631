#include <string>

#include "WorldHarness.h"
#include "app/FrameUpdate.h"
#include "app/KeyboardCommands.h"
#include "core/FramePhase.h"
#include "core/BoundingBox.h"
#include "physics/PhysicsWorld.h"

namespace {

constexpr float pi = 3.14159265f;

std::string chasing()
{
    std::string s;
    for (PhysicsObject* statue : pursuers)
        s += statue->chasing ? '1' : '0';
    return s;
}

}  // namespace

using GameRules = WorldTest;
using StatueDanger = WorldTest;

TEST_F(GameRules, AnUnseenChaserClosesInAndASeenOneStopsDead)
{
    play();
    frames(5, 0.1);
    const float seen = horizontalDistanceToStatue(0);
    frames(5, 0.1);
    EXPECT_NEAR(horizontalDistanceToStatue(0), seen, 0.05f) << "watched, it stays put";

    turn(pi);
    frames(8, 0.1);
    EXPECT_LT(horizontalDistanceToStatue(0), seen - 1.0f) << "behind the player's back it comes closer";
    EXPECT_EQ(pursuers[0]->target.y, pursuers[0]->localMatrix[3][1]) << "it aims on its own level, never up";
    // Pushed by the whole distance to the player, not a unit of it: its speed grows by that over its mass.
    phys::RigidDynamic* body = pursuers[0]->mesh->physicsActor;
    const glm::vec3 towards = playerPosition() - statuePosition(0), before = body->getLinearVelocity();
    frame(0.1);
    const glm::vec3 gained = (body->getLinearVelocity() - before) * body->getMass() / 0.1f;
    EXPECT_LT(glm::length(glm::vec2(gained.x - towards.x, gained.z - towards.z)), 0.03f * glm::length(towards));

    turn(-pi);
    frames(2);
    const glm::vec3 v = pursuers[0]->mesh->physicsActor->getLinearVelocity();
    EXPECT_EQ(glm::vec2(v.x, v.z), glm::vec2(0.0f)) << "seen again, it freezes";
    EXPECT_FALSE(caught);
}

// Turning away a little each frame, the statue stands still exactly in the frames whose picture
// shows it: the pursuit judges with the camera the same frame draws.
TEST_F(GameRules, AStatueAtTheEdgeOfTheViewIsJudgedWithTheCameraThatIsDrawn)
{
    play();
    frames(5, 0.1);
    static bool drawnShowsIt = false;
    framePhaseHook = [](FramePhase phase, bool begins) {
        if (phase == FramePhase::litPass && begins) {
            computeViewProjection();
            extractFrustumPlanes();
            drawnShowsIt = pursuers[0]->mesh->boundingBox->isInFrustum();
        }
    };
    std::string shown, still;
    for (int i = 0; i < 30; ++i) {
        turn(0.04f);
        frame();
        const glm::vec3 v = pursuers[0]->mesh->physicsActor->getLinearVelocity();
        shown += drawnShowsIt ? '1' : '0';
        still += v.x == 0.0f && v.z == 0.0f ? '1' : '0';
    }
    framePhaseHook = nullptr;
    EXPECT_EQ(still, shown);
    EXPECT_NE(shown.find("10"), std::string::npos) << "the statue left the picture";
}

TEST_F(GameRules, AStatueInViewStillCatchesOnTouchAndHoldsThePlayer)
{
    play();
    teleport(0.0f, 1.0f, 19.0f);  // right in front of the watching statue, looking at it
    frames(2);
    EXPECT_TRUE(caught);
    EXPECT_EQ(player->caughtBy, 0);

    const glm::vec3 at = playerPosition();
    const glm::mat4 view = viewMatrix;
    input.press(GLFW_KEY_W);
    turn(1.0f);
    frames(10);
    EXPECT_NEAR(playerPosition().z, at.z, 0.05f);
    EXPECT_EQ(viewMatrix, view);
}

TEST_F(StatueDanger, ActivatorsMeasureFromTheEyeNotTheBody)
{
    play();
    ASSERT_TRUE(pursuers[0]->chasing);
    // 4.5 along the floor from the second activator: the body's centre is 4.61 from it, the eye 5.70.
    teleport(0.0f, 1.0f, 109.5f);
    frames(2);
    EXPECT_TRUE(pursuers[0]->chasing) << "the eye is beyond 5: nothing fires";
    // 3.5 along: the eye is 4.95 away.
    teleport(0.0f, 1.0f, 108.5f);
    frames(2);
    EXPECT_FALSE(pursuers[0]->chasing) << "the eye is within 5: every statue sleeps";

    pursuers[0]->chasing = true;
    activators[1]->checkProximity(0.0f, 0.0f, 105.0f + 5.0f);
    EXPECT_TRUE(pursuers[0]->chasing) << "exactly 5 away does not fire";
    activators[1]->checkProximity(0.0f, 0.0f, 105.0f + 4.99f);
    EXPECT_FALSE(pursuers[0]->chasing);
}

TEST_F(GameRules, ActivatorsWakeTheirGroupAndPutTheRestToSleep)
{
    play();
    EXPECT_EQ(chasing(), "10000000000000000000") << "the first statue chases from the start";
    const struct {
        float x, z;
        const char* chasing;
    } steps[] = {
        {-2.5f, 22.0f, "00111111111111000000"},
        {0.0f, 105.0f, "00000000000000000000"},  // the second activator has no statues of its own
        {-2.5f, 22.0f, "00111111111111000000"},
        {0.0f, 230.0f, "00000000000000111111"},
    };
    for (const auto& s : steps) {
        teleport(s.x, 1.0f, s.z);
        frames(2);
        EXPECT_EQ(chasing(), s.chasing) << "at z " << s.z;
    }
}

TEST_F(GameRules, TheRotorTurnsAThousandDegreesASecondAndTheCowIsDetailedWithinForty)
{
    play();
    const glm::vec3 axis = combineRotor->localMatrix[0];
    frame(0.01);
    EXPECT_NEAR(glm::degrees(std::acos(glm::dot(glm::normalize(axis), glm::normalize(glm::vec3(combineRotor->localMatrix[0]))))), 10.0f, 0.1f);
    const glm::vec3 cow = giantCow->localMatrix[3];
    for (float distance : {39.8f, 40.2f}) {
        const float dy = 1.0f + eyeHeight - cow.y;
        teleport(cow.x, 1.0f, cow.z - std::sqrt(distance * distance - dy * dy));
        giantCow->update(0.0);
        EXPECT_TRUE(giantCow->highMesh->visible == (distance < 40.0f) && giantCow->lowMesh->visible != giantCow->highMesh->visible) << distance;
    }
}

TEST_F(GameRules, FallingOutWinsAndBothOutcomesCanStand)
{
    play();
    teleport(0.0f, 1.0f, 19.0f), frames(2);
    ASSERT_TRUE(caught);
    teleport(-25.0f, -4.9f - eyeHeight, 332.0f), frames(2);  // in the pit, the eye just above -5
    EXPECT_FALSE(player->fellOut);

    teleport(-25.0f, -5.1f - eyeHeight, 332.0f);  // and just below
    frames(2);
    EXPECT_TRUE(player->fellOut);
    EXPECT_TRUE(caught);
}

TEST_F(StatueDanger, AnyOneStatueCloseByWarnsWhereverItStandsInTheList)
{
    play();
    // 3.5 in front of a statue that stands still: within its near radius, outside its touch radius.
    const struct {
        size_t statue;
        float x, z;
    } cases[] = {{1, 0.0f, 187.0f}, {8, -8.0f, 95.0f}, {17, -26.0f, 267.0f}};
    for (const auto& c : cases) {
        teleport(c.x, 1.0f, c.z - 3.5f);
        frames(2);
        EXPECT_TRUE(dangerNear) << "statue " << c.statue;
        EXPECT_FALSE(caught) << "statue " << c.statue;
    }
    teleport(0.0f, 1.0f, 175.0f);
    frames(2);
    EXPECT_FALSE(dangerNear) << "12 away from the nearest statue";
}

TEST_F(StatueDanger, TheCatchingPassStillMovesTheStatuesAfterTheCatcher)
{
    play();
    // Looking along +z from z = 175, the chasing statue at (4, 100) is behind the player.
    teleport(0.0f, 1.0f, 175.0f);
    frames(3);
    // Turned aside, the player sees neither the catcher ahead of the old view nor the statue behind it.
    turn(glm::half_pi<float>());
    frame();
    pursuers[1]->chasing = pursuers[5]->chasing = true;
    teleport(0.0f, 1.0f, 185.5f);
    frame();
    ASSERT_TRUE(caught);
    EXPECT_EQ(player->caughtBy, 1);
    const glm::vec3 catcher = pursuers[1]->mesh->physicsActor->getLinearVelocity();
    EXPECT_EQ(glm::vec2(catcher.x, catcher.z), glm::vec2(0.0f)) << "the catcher stops, unseen as it is";
    EXPECT_GT(pursuers[5]->mesh->physicsActor->getLinearVelocity().z, 0.1f) << "a later statue was still pushed";
}
