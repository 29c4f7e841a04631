// The game's physics world: start-up, stepping, and the bodies its factories make as a player meets them.
#include "physics/PhysicsWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

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
    float friction;  // the floor's is 0.002
};

const Kind kinds[] = {
    {"crate", [](PhysicsWorld& w, float x, float z) { return w.createCrateBody(x, 0.5f, z, 0.5f, 0.5f, 0.5f); }, 0.1f},
    {"statue", [](PhysicsWorld& w, float x, float z) { return w.createDynamicBox(x, 0.5f, z, 0.5f, 0.5f, 0.5f); }, 0.001f},
    {"vehicle", [](PhysicsWorld&, float, float) { return vehicleBox; }, 0.1f},
};

}  // namespace

TEST(PhysicsWorldDeathTest, EachFailedStartStepEndsTheProgramWithItsMessage)
{
    using Failures = phys::CreationFailuresForTesting;
    const std::pair<bool Failures::*, const char*> cases[] = {
        {&Failures::foundation, "^PxCreateFoundation failed!\n$"},
        {&Failures::physics, "^Error creating PhysX3 device, Exiting...\n$"},
        {&Failures::scene, "^createScene failed!\n$"}};
    for (const auto& [fails, message] : cases) {
        Failures failures;
        failures.*fails = true;
        EXPECT_EXIT(phys::setCreationFailuresForTesting(failures); PhysicsWorld world, ::testing::ExitedWithCode(1), message);
    }
}

TEST(PhysicsWorld, StartsReportingNoDebuggerAndStatuesAndCratesNeverTurn)
{
    testing::internal::CaptureStdout();
    PhysicsWorld world;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: PhysX Visual Debugger not found running!\n");
    // A ledge whose edge at x = 1 carries a thin strip of each box: one without rotation limits tips over.
    world.createStaticBox(0.0f, -0.5f, -40.0f, 1.0f, 0.5f, 20.0f);
    phys::Material* material = physics->createMaterial(0.001f, 0.001f, 0.001f);
    phys::RigidDynamic* free = phys::createDynamic(*physics, phys::Transform(glm::vec3(1.3f, 0.6f, -55.0f)),
                                                   phys::BoxGeometry(0.5f, 0.5f, 0.5f), *material, 1.0f);
    world.scene->addActor(*free);
    phys::RigidDynamic* upright[] = {world.createDynamicBox(1.3f, 0.6f, -40.0f, 0.5f, 2.0f, 0.5f),
                                     world.createCrateBody(1.7f, 1.1f, -30.0f, 1.0f, 1.0f, 1.0f)};
    run(world, 1.0);
    EXPECT_LT(std::abs(free->getGlobalPose().q.w), 0.995f);
    for (phys::RigidDynamic* body : upright)
        EXPECT_EQ(std::abs(body->getGlobalPose().q.w), 1.0f) << "statues and crates never turn";
}

TEST(PhysicsWorld, BadNumbersChangeNothingAndLongStepsNeitherExplodeNorTunnel)
{
    PhysicsWorld world;
    world.createStaticBox(0.0f, -0.05f, -40.0f, 20.0f, 0.05f, 20.0f);  // a thin floor
    phys::RigidDynamic* bodies[] = {world.createDynamicBox(0.0f, 20.0f, -40.0f, 0.3f, 1.0f, 0.3f),
                                    world.createCrateBody(5.0f, 10.0f, -40.0f, 1.0f, 1.0f, 1.0f),
                                    world.createPlayerBody(1.0f, -5.0f, 15.0f, -40.0f)};
    bodies[0]->setLinearVelocity(glm::vec3(NaN, 0.0f, 0.0f), true);
    bodies[0]->setAngularVelocity(glm::vec3(0.0f, Inf, 0.0f), true);
    bodies[0]->addForce(glm::vec3(0.0f, 0.0f, NaN), phys::ForceMode::eFORCE, true);
    for (double bad : {0.0, -1.0, double(NaN), double(Inf)})
        world.step(bad);
    EXPECT_EQ(positionOf(bodies[0]), glm::vec3(0.0f, 20.0f, -40.0f));
    EXPECT_EQ(bodies[0]->getLinearVelocity(), glm::vec3(0.0f));

    const float fallSpeed = std::sqrt(2.0f * 9.8f * 20.0f);
    for (double dt : {2.0, frame, 3.0, frame}) {
        world.step(dt);
        for (phys::RigidDynamic* body : bodies) {
            EXPECT_GT(positionOf(body).y, 0.25f) << "after a step of " << dt;
            EXPECT_LT(glm::length(body->getLinearVelocity()), fallSpeed) << "after a step of " << dt;
        }
    }
    // At rest, a statue's cube sized by its first half extent alone.
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(positionOf(bodies[i]).y, i == 0 ? 0.3f : 1.0f, 0.01f) << i;
}

TEST(PhysicsWorld, BadNumbersMakeNoBody)
{
    PhysicsWorld world;
    for (float bad : {NaN, Inf, -Inf, 0.0f, -1.0f}) {
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr) << bad;
        EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr) << bad;
        EXPECT_EQ(world.createPlayerBody(bad, 0.0f, 0.0f, 0.0f), nullptr) << bad;
        if (!std::isfinite(bad)) {
            EXPECT_EQ(world.createDynamicBox(bad, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f), nullptr);
            EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, 1.0f, bad, 1.0f), nullptr);
            EXPECT_EQ(world.createPlayerBody(1.0f, 0.0f, 0.0f, bad), nullptr);
        }
    }
    // A crate over each bad floor falls straight through where the floor would be.
    const float badFloors[][6] = {{0, -0.5f, -40, 5, 0, 5}, {20, -0.5f, -40, 5, 0.5f, -5}, {40, Inf, -40, NaN, 0.5f, 5}};
    for (const auto& f : badFloors) {
        world.createStaticBox(f[0], f[1], f[2], f[3], f[4], f[5]);
        phys::RigidDynamic* crate = world.createCrateBody(f[0], 2.0f, f[2], 1.0f, 1.0f, 1.0f);
        run(world, 2.0);
        EXPECT_LT(positionOf(crate).y, -5.0f) << "floor at x = " << f[0];
    }
}

// Contact friction is the mean of the two bodies', restitution the smaller: nothing bounces.
TEST(BodyMaterials, EachBodySlowsAsItsFrictionSaysAndNeitherBouncesOffTheFloorNorOffItsKind)
{
    for (const Kind& kind : kinds) {
        PhysicsWorld world;
        // The vehicle box starts at (3, 4, 16), the others on the floor 12 to its left.
        world.createStaticBox(3.0f, -0.5f, 16.0f, 30.0f, 0.5f, 30.0f);
        phys::RigidDynamic* body = kind.make(world, -9.0f, 16.0f);
        ASSERT_NE(body, nullptr) << kind.name;
        const bool pair = body != vehicleBox;  // there is one vehicle
        phys::RigidDynamic* a = pair ? kind.make(world, -14.0f, 0.0f) : nullptr;
        phys::RigidDynamic* b = pair ? kind.make(world, -10.0f, 0.0f) : nullptr;
        run(world, 1.0);
        float highest = 0.0f;
        for (int i = 0; i < 30; ++i) {
            world.step(frame);
            highest = std::max(highest, positionOf(body).y);
        }
        EXPECT_LT(highest, 1.1f) << kind.name << " landing";
        body->setLinearVelocity(glm::vec3(4.0f, 0.0f, 0.0f), true);
        if (pair) {
            a->setLinearVelocity(glm::vec3(3.0f, 0.0f, 0.0f), true);
            b->setLinearVelocity(glm::vec3(-3.0f, 0.0f, 0.0f), true);
        }
        run(world, 1.0);
        EXPECT_NEAR(body->getLinearVelocity().x, 4.0f - 0.5f * (kind.friction + 0.002f) * 9.8f, 0.03f) << kind.name;
        // Met head-on at 6: the engine's push out of the overlap alone parts the statues at about 0.9.
        if (pair) {
            EXPECT_LT(b->getLinearVelocity().x - a->getLinearVelocity().x, 1.5f) << kind.name << " pair";
        }
    }
}
