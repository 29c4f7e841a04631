// Statues and activators measured the way the game promises: from the player's eye, 2.5 above the
// body's centre, whichever statue in the list is the one close by.
#include "WorldHarness.h"

#include "app/FrameUpdate.h"
#include "physics/PhysicsWorld.h"

using StatueDanger = WorldTest;

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
        ASSERT_EQ(statuePosition(c.statue).x, c.x);
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
    pursuers[5]->chasing = true;
    teleport(0.0f, 1.0f, 185.5f);
    frame();
    ASSERT_TRUE(caught);
    EXPECT_EQ(player->caughtBy, 1);
    const glm::vec3 catcher = pursuers[1]->mesh->physicsActor->getLinearVelocity();
    EXPECT_EQ(glm::vec2(catcher.x, catcher.z), glm::vec2(0.0f)) << "the catcher stops";
    EXPECT_GT(pursuers[5]->mesh->physicsActor->getLinearVelocity().z, 0.1f) << "a later statue was still pushed";
}
