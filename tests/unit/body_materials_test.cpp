// The materials the game's bodies really get, seen as a player sees them: how quickly each slows
// down sliding over the hall's floor, and that two of a kind meeting head-on do not bounce apart.
#include <gtest/gtest.h>

#include <functional>

#include "physics/PhysicsWorld.h"

namespace {

constexpr double frame = 1.0 / 60.0;
using Factory = std::function<phys::RigidDynamic*(PhysicsWorld&, float x, float z)>;

void run(PhysicsWorld& world, double seconds)
{
    for (double t = 0.0; t < seconds; t += frame)
        world.step(frame);
}

struct Kind {
    const char* name;
    Factory make;
    // Contact friction is the mean of the two bodies' dynamic frictions; the floor's is 0.002.
    float friction;
};

const Kind kinds[] = {
    {"crate", [](PhysicsWorld& w, float x, float z) { return w.createCrateBody(x - 12.0f, 0.5f, z, 0.5f, 0.5f, 0.5f); },
     0.1f},
    {"statue",
     [](PhysicsWorld& w, float x, float z) { return w.createDynamicBox(x - 12.0f, 0.5f, z, 0.5f, 0.5f, 0.5f); }, 0.001f},
    {"vehicle", [](PhysicsWorld&, float, float) { return vehicleBox; }, 0.1f},
};

}  // namespace

TEST(BodyMaterials, EachBodySlowsOnTheFloorAsItsFrictionSays)
{
    for (const Kind& kind : kinds) {
        PhysicsWorld world;
        // The vehicle box starts at (3, 4, 16), the others 12 to its left; the floor's top is at y = 0.
        world.createStaticBox(3.0f, -0.5f, 16.0f, 30.0f, 0.5f, 30.0f);
        phys::RigidDynamic* body = kind.make(world, 3.0f, 16.0f);
        ASSERT_NE(body, nullptr) << kind.name;
        run(world, 1.5);
        body->setLinearVelocity(glm::vec3(4.0f, 0.0f, 0.0f), true);
        run(world, 1.0);
        const float expected = 4.0f - 0.5f * (kind.friction + 0.002f) * 9.8f;
        EXPECT_NEAR(body->getLinearVelocity().x, expected, 0.03f) << kind.name;
    }
}

TEST(BodyMaterials, TwoOfAKindMeetingHeadOnDoNotBounceApart)
{
    for (const Kind& kind : {kinds[0], kinds[1]}) {  // there is one vehicle
        PhysicsWorld world;
        world.createStaticBox(0.0f, -0.5f, 0.0f, 30.0f, 0.5f, 30.0f);
        phys::RigidDynamic* a = kind.make(world, -2.0f, 0.0f);
        phys::RigidDynamic* b = kind.make(world, 2.0f, 0.0f);
        run(world, 0.5);
        a->setLinearVelocity(glm::vec3(3.0f, 0.0f, 0.0f), true);
        b->setLinearVelocity(glm::vec3(-3.0f, 0.0f, 0.0f), true);
        run(world, 1.5);
        // Restitution 0.001: they part at well under a quarter of the 6 they met at (the engine's
        // push out of the overlap alone gives the near frictionless statues about 0.9).
        const float parting = b->getLinearVelocity().x - a->getLinearVelocity().x;
        EXPECT_LT(parting, 1.5f) << kind.name;
    }
}
