// The game's physics world: start-up, stepping, and the bodies its factories make as a player meets them.
#include "physics/PhysicsWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr double frame = 1.0 / 60.0;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

glm::vec3 positionOf(const phys::RigidActor* body) { return body->getGlobalPose().p; }

void run(PhysicsWorld& world, double seconds, double dt = frame)
{
    for (double t = 0.0; t < seconds; t += dt)
        world.step(dt);
}

struct Kind {
    const char* name;
    std::function<phys::RigidDynamic*(PhysicsWorld&, float x, float z)> make;
    float friction;  // a contact's friction is the mean of the two; the floor's is 0.002
};

const Kind kinds[] = {
    {"crate", [](PhysicsWorld& w, float x, float z) { return w.createCrateBody(x, 0.5f, z, 0.5f, 0.5f, 0.5f); }, 0.1f},
    {"statue", [](PhysicsWorld& w, float x, float z) { return w.createDynamicBox(x, 0.5f, z, 0.5f, 0.5f, 0.5f); }, 0.001f},
    {"vehicle", [](PhysicsWorld&, float, float) { return vehicleBox; }, 0.1f},
};

}  // namespace

TEST(PhysicsWorldDeathTest, EachFailedStartStepEndsTheProgramWithItsMessage)
{
    const struct {
        bool phys::CreationFailuresForTesting::*fails;
        const char* message;
    } cases[] = {{&phys::CreationFailuresForTesting::foundation, "^PxCreateFoundation failed!\n$"},
                 {&phys::CreationFailuresForTesting::physics, "^Error creating PhysX3 device, Exiting...\n$"},
                 {&phys::CreationFailuresForTesting::scene, "^createScene failed!\n$"}};
    for (const auto& c : cases) {
        phys::CreationFailuresForTesting failures;
        failures.*c.fails = true;
        EXPECT_EXIT(
            {
                phys::setCreationFailuresForTesting(failures);
                PhysicsWorld world;
            },
            ::testing::ExitedWithCode(1), c.message);
    }
}

TEST(PhysicsWorld, StartsReportingNoDebuggerAndBodiesRestOnTheFloorUpright)
{
    testing::internal::CaptureStdout();
    PhysicsWorld world;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: PhysX Visual Debugger not found running!\n");
    const glm::vec3 vehicleStart = positionOf(vehicleBox);

    // A floor with its top at y = 0 whose edge at x = 1 carries only a thin strip of each box.
    world.createStaticBox(0.0f, -0.5f, -40.0f, 1.0f, 0.5f, 20.0f);
    // A statue's cube is sized by its first half extent alone.
    phys::RigidDynamic* statue = world.createDynamicBox(1.3f, 5.0f, -40.0f, 0.5f, 1.5f, 9.0f);
    phys::RigidDynamic* crate = world.createCrateBody(1.7f, 5.0f, -30.0f, 1.0f, 1.0f, 1.0f);
    phys::RigidDynamic* player = world.createPlayerBody(1.0f, 0.0f, 5.0f, -50.0f);
    // The same kind of box without the rotation limits tips over the edge.
    phys::Material* material = physics->createMaterial(0.001f, 0.001f, 0.001f);
    phys::RigidDynamic* free = phys::createDynamic(*physics, phys::Transform(glm::vec3(1.3f, 0.6f, -55.0f)),
                                                   phys::BoxGeometry(0.5f, 0.5f, 0.5f), *material, 1.0f);
    world.scene->addActor(*free);
    ASSERT_TRUE(statue && crate && player && free);

    run(world, 3.0);
    EXPECT_LT(positionOf(vehicleBox).y, vehicleStart.y - 20.0f) << "nothing under it, the vehicle box falls";
    EXPECT_EQ(positionOf(vehicleBox).x, vehicleStart.x);
    EXPECT_NEAR(positionOf(statue).y, 0.5f, 0.02f);
    EXPECT_NEAR(positionOf(crate).y, 1.0f, 0.02f);
    EXPECT_NEAR(positionOf(player).y, 1.0f, 0.02f);
    EXPECT_GT(1.0f - std::abs(free->getGlobalPose().q.w), 0.005f);
    for (phys::RigidDynamic* body : {statue, crate}) {
        EXPECT_EQ(std::abs(body->getGlobalPose().q.w), 1.0f) << "statues and crates never turn";
        EXPECT_LT(glm::length(body->getLinearVelocity()), 0.05f);
    }
}

TEST(PhysicsWorld, ForcesActForOneStepAndBadNumbersChangeNothing)
{
    PhysicsWorld world;
    phys::RigidDynamic* statue = world.createDynamicBox(0.0f, 100.0f, -40.0f, 1.0f, 2.0f, 1.0f);
    // Mass 8: a cube of half size 1 and density 1.
    statue->addForce(glm::vec3(8.0f, 0.0f, -16.0f), phys::ForceMode::eFORCE, true);
    world.step(frame);
    const glm::vec3 pushed = statue->getLinearVelocity();
    EXPECT_NEAR(pushed.x, frame, 1e-5);
    EXPECT_NEAR(pushed.z, -2.0 * frame, 1e-5);
    world.step(frame);
    EXPECT_NEAR(statue->getLinearVelocity().x, pushed.x, 1e-5) << "the force is used up";

    statue->setLinearVelocity(glm::vec3(NaN, 0.0f, 0.0f), true);
    statue->setAngularVelocity(glm::vec3(0.0f, Inf, 0.0f), true);
    statue->addForce(glm::vec3(0.0f, 0.0f, NaN), phys::ForceMode::eFORCE, true);
    const glm::vec3 before = positionOf(statue);
    for (double bad : {0.0, -1.0, double(NaN), double(Inf)})
        world.step(bad);
    EXPECT_EQ(positionOf(statue), before);
    world.step(frame);
    EXPECT_NEAR(statue->getLinearVelocity().x, pushed.x, 1e-5);
    EXPECT_NEAR(statue->getLinearVelocity().z, pushed.z, 1e-5);
}

TEST(PhysicsWorld, LongStepsNeitherExplodeNorTunnelThroughAThinFloor)
{
    PhysicsWorld world;
    world.createStaticBox(0.0f, -0.05f, -40.0f, 20.0f, 0.05f, 20.0f);
    phys::RigidDynamic* bodies[] = {world.createDynamicBox(0.0f, 20.0f, -40.0f, 0.3f, 1.0f, 0.3f),
                                    world.createCrateBody(5.0f, 10.0f, -40.0f, 1.0f, 1.0f, 1.0f),
                                    world.createPlayerBody(1.0f, -5.0f, 15.0f, -40.0f)};
    const float fallSpeed = std::sqrt(2.0f * 9.8f * 20.0f);
    for (double dt : {2.0, frame, 3.0, frame}) {
        world.step(dt);
        for (phys::RigidDynamic* body : bodies) {
            EXPECT_GT(positionOf(body).y, 0.25f) << "after a step of " << dt;
            EXPECT_LT(glm::length(body->getLinearVelocity()), fallSpeed) << "after a step of " << dt;
        }
    }
    EXPECT_NEAR(positionOf(bodies[0]).y, 0.3f, 0.01f);
}

TEST(PhysicsWorld, BadInputsMakeNoBody)
{
    PhysicsWorld world;
    for (float bad : {NaN, Inf, -Inf}) {
        EXPECT_EQ(world.createDynamicBox(bad, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, 1.0f, bad, 1.0f), nullptr);
        EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, bad), nullptr);
        EXPECT_EQ(world.createPlayerBody(1.0f, 0.0f, bad, 0.0f), nullptr);
    }
    for (float bad : {0.0f, -1.0f, NaN, Inf}) {
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createPlayerBody(bad, 0.0f, 0.0f, 0.0f), nullptr);
    }
    // A crate over each bad floor falls straight through where the floor would be.
    const float badFloors[][6] = {{0, -0.5f, -40, 5, 0, 5}, {20, -0.5f, -40, 5, 0.5f, -5}, {40, -0.5f, -40, NaN, 0.5f, 5},
                                  {60, Inf, -40, 5, 0.5f, 5}};
    for (const auto& f : badFloors) {
        world.createStaticBox(f[0], f[1], f[2], f[3], f[4], f[5]);
        phys::RigidDynamic* crate = world.createCrateBody(f[0], 2.0f, f[2], 1.0f, 1.0f, 1.0f);
        run(world, 2.0);
        EXPECT_LT(positionOf(crate).y, -5.0f) << "floor at x = " << f[0];
    }
}

TEST(BodyMaterials, EachBodyLandsWithoutBouncingAndSlowsAsItsFrictionSays)
{
    for (const Kind& kind : kinds) {
        PhysicsWorld world;
        // The vehicle box starts at (3, 4, 16), the others on the floor 12 to its left.
        world.createStaticBox(3.0f, -0.5f, 16.0f, 30.0f, 0.5f, 30.0f);
        phys::RigidDynamic* body = kind.make(world, -9.0f, 16.0f);
        ASSERT_NE(body, nullptr) << kind.name;
        run(world, 1.0);
        float highest = 0.0f;
        for (int i = 0; i < 30; ++i) {
            world.step(frame);
            highest = std::max(highest, positionOf(body).y);
        }
        EXPECT_LT(highest, 1.1f) << kind.name << ": restitution is the smaller of the two, the floor's almost 0";
        body->setLinearVelocity(glm::vec3(4.0f, 0.0f, 0.0f), true);
        run(world, 1.0);
        EXPECT_NEAR(body->getLinearVelocity().x, 4.0f - 0.5f * (kind.friction + 0.002f) * 9.8f, 0.03f) << kind.name;
    }
}

TEST(BodyMaterials, TwoOfAKindMeetingHeadOnDoNotBounceApart)
{
    for (const Kind& kind : {kinds[0], kinds[1]}) {  // there is one vehicle
        PhysicsWorld world;
        world.createStaticBox(0.0f, -0.5f, 0.0f, 30.0f, 0.5f, 30.0f);
        phys::RigidDynamic* a = kind.make(world, -14.0f, 0.0f);
        phys::RigidDynamic* b = kind.make(world, -10.0f, 0.0f);
        run(world, 0.5);
        a->setLinearVelocity(glm::vec3(3.0f, 0.0f, 0.0f), true);
        b->setLinearVelocity(glm::vec3(-3.0f, 0.0f, 0.0f), true);
        run(world, 1.5);
        // Restitution 0.001; the engine's push out of the overlap alone gives the statues about 0.9.
        EXPECT_LT(b->getLinearVelocity().x - a->getLinearVelocity().x, 1.5f) << kind.name;
    }
}
