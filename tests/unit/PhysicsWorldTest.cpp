// The game's physics world: start-up, stepping and the bodies its factories make.
#include "physics/PhysicsWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double frame = 1.0 / 60.0;
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

glm::vec3 positionOf(const phys::RigidActor* body)
{
    return body->getGlobalPose().p;
}

// Angle of the body's rotation away from its start, in radians.
float turnedAngle(const phys::RigidActor* body)
{
    return 2.0f * std::acos(std::min(1.0f, std::abs(body->getGlobalPose().q.w)));
}

void run(PhysicsWorld& world, double seconds, double dt = frame)
{
    for (double t = 0.0; t < seconds; t += dt) {
        world.step(dt);
    }
}

// A floor whose top is at y = 0, far from the vehicle box's start.
void addFloor(PhysicsWorld& world, float x = 0.0f, float z = -40.0f, float halfSize = 20.0f)
{
    world.createStaticBox(x, -0.5f, z, halfSize, 0.5f, halfSize);
}

TEST(PhysicsWorldStartupDeathTest, FailedFoundationEndsTheProgram)
{
    phys::CreationFailuresForTesting failures;
    failures.foundation = true;
    EXPECT_EXIT(
        {
            phys::setCreationFailuresForTesting(failures);
            PhysicsWorld world;
        },
        ::testing::ExitedWithCode(1), "^PxCreateFoundation failed!\n$");
}

TEST(PhysicsWorldStartupDeathTest, FailedPhysicsEndsTheProgram)
{
    phys::CreationFailuresForTesting failures;
    failures.physics = true;
    EXPECT_EXIT(
        {
            phys::setCreationFailuresForTesting(failures);
            PhysicsWorld world;
        },
        ::testing::ExitedWithCode(1), "^Error creating PhysX3 device, Exiting...\n$");
}

TEST(PhysicsWorldStartupDeathTest, FailedSceneEndsTheProgram)
{
    phys::CreationFailuresForTesting failures;
    failures.scene = true;
    EXPECT_EXIT(
        {
            phys::setCreationFailuresForTesting(failures);
            PhysicsWorld world;
        },
        ::testing::ExitedWithCode(1), "^createScene failed!\n$");
}

TEST(PhysicsWorldStartup, CreatesTheEngineAndAFallingVehicleBoxAndReportsNoDebugger)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    PhysicsWorld world;
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: PhysX Visual Debugger not found running!\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    ASSERT_NE(world.scene, nullptr);
    ASSERT_NE(foundation, nullptr);
    ASSERT_NE(physics, nullptr);
    ASSERT_NE(vehicleBox, nullptr);
    EXPECT_LT(world.scene->getGravity().y, 0.0f);

    // The vehicle box takes part in the simulation: with nothing under it, it falls straight down.
    const glm::vec3 start = positionOf(vehicleBox);
    world.step(0.5);
    const glm::vec3 moved = positionOf(vehicleBox);
    EXPECT_LT(moved.y, start.y - 1.0f);
    EXPECT_FLOAT_EQ(moved.x, start.x);
    EXPECT_FLOAT_EQ(moved.z, start.z);
}

TEST(PhysicsWorldBodies, FallUnderGravityAndRestOnAStaticBox)
{
    PhysicsWorld world;
    addFloor(world);
    phys::RigidDynamic* statue = world.createDynamicBox(0.0f, 5.0f, -40.0f, 0.5f, 1.5f, 0.5f);
    phys::RigidDynamic* crate = world.createCrateBody(4.0f, 5.0f, -40.0f, 1.0f, 1.0f, 1.0f);
    phys::RigidDynamic* player = world.createPlayerBody(1.0f, -4.0f, 5.0f, -40.0f);
    ASSERT_TRUE(statue && crate && player);

    world.step(frame);
    const float g = -world.scene->getGravity().y;
    for (phys::RigidDynamic* body : {statue, crate, player}) {
        EXPECT_NEAR(body->getLinearVelocity().y, -g * frame, 1e-4);
        EXPECT_LT(positionOf(body).y, 5.0f);
    }

    run(world, 3.0);
    EXPECT_NEAR(positionOf(statue).y, 0.5f, 0.02f);
    EXPECT_NEAR(positionOf(crate).y, 1.0f, 0.02f);
    EXPECT_NEAR(positionOf(player).y, 1.0f, 0.02f);
    for (phys::RigidDynamic* body : {statue, crate, player}) {
        EXPECT_LT(glm::length(body->getLinearVelocity()), 0.05f);
    }
}

TEST(PhysicsWorldBodies, PlayerSphereFollowsSetVelocitiesAndStopsAtOnce)
{
    PhysicsWorld world;
    addFloor(world);
    phys::RigidDynamic* player = world.createPlayerBody(1.0f, 0.0f, 1.0f, -40.0f);
    run(world, 0.5);

    // Walking on the floor: the set velocity is taken exactly and kept over a step.
    const glm::vec3 walk(3.0f, player->getLinearVelocity().y, 0.0f);
    player->setLinearVelocity(walk, true);
    EXPECT_EQ(player->getLinearVelocity(), walk);
    const float startX = positionOf(player).x;
    world.step(frame);
    EXPECT_NEAR(player->getLinearVelocity().x, 3.0f, 1e-3f);
    EXPECT_NEAR(positionOf(player).x - startX, 3.0f * frame, 1e-3f);

    const glm::vec3 v = player->getLinearVelocity();
    player->setLinearVelocity(glm::vec3(0.0f, v.y, 0.0f), true);
    const glm::vec3 stopped = positionOf(player);
    world.step(frame);
    EXPECT_NEAR(positionOf(player).x, stopped.x, 1e-4f);
    EXPECT_NEAR(player->getLinearVelocity().x, 0.0f, 1e-3f);

    // In the air the vertical velocity goes on under gravity while the horizontal one stops.
    phys::RigidDynamic* jumper = world.createPlayerBody(1.0f, 10.0f, 50.0f, 10.0f);
    run(world, 0.5);
    jumper->setLinearVelocity(glm::vec3(3.0f, jumper->getLinearVelocity().y, 0.0f), true);
    world.step(frame);
    const glm::vec3 falling = jumper->getLinearVelocity();
    const glm::vec3 at = positionOf(jumper);
    jumper->setLinearVelocity(glm::vec3(0.0f, falling.y, 0.0f), true);
    world.step(frame);
    EXPECT_FLOAT_EQ(positionOf(jumper).x, at.x);
    EXPECT_NEAR(jumper->getLinearVelocity().y, falling.y + world.scene->getGravity().y * frame, 1e-4);
}

TEST(PhysicsWorldBodies, ForceActsForOneStepOnly)
{
    PhysicsWorld world;
    phys::RigidDynamic* statue = world.createDynamicBox(0.0f, 100.0f, -40.0f, 1.0f, 2.0f, 1.0f);
    const float mass = statue->getMass();

    statue->addForce(glm::vec3(10.0f, 0.0f, -20.0f), phys::ForceMode::eFORCE, true);
    world.step(frame);
    const glm::vec3 pushed = statue->getLinearVelocity();
    EXPECT_NEAR(pushed.x, 10.0f / mass * frame, 1e-5);
    EXPECT_NEAR(pushed.z, -20.0f / mass * frame, 1e-5);

    run(world, 1.0);
    EXPECT_NEAR(statue->getLinearVelocity().x, pushed.x, 1e-5);
    EXPECT_NEAR(statue->getLinearVelocity().z, pushed.z, 1e-5);
}

// The engine's own rules as the game meets them: forces of one frame add up and act over the whole
// of a long step, a step of zero uses them up, bad numbers change nothing, mass is density times
// volume.
TEST(PhysicsWorldBodies, ForcesAddUpOverALongStepAndBadNumbersAreIgnored)
{
    PhysicsWorld world;
    phys::RigidDynamic* statue = world.createDynamicBox(0.0f, 100.0f, -40.0f, 1.0f, 2.0f, 1.0f);
    phys::RigidDynamic* player = world.createPlayerBody(2.0f, 20.0f, 100.0f, -40.0f);
    const float mass = statue->getMass();
    EXPECT_FLOAT_EQ(mass, 8.0f);
    EXPECT_NEAR(player->getMass(), 4.0f / 3.0f * 3.14159265f * 8.0f, 1e-3f);

    statue->addForce(glm::vec3(mass, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
    statue->addForce(glm::vec3(mass, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
    world.step(0.75);
    EXPECT_NEAR(statue->getLinearVelocity().x, 1.5f, 1e-4f);
    EXPECT_NEAR(positionOf(statue).x, 0.5f * 2.0f * 0.75f * 0.75f, 0.01f);

    statue->addForce(glm::vec3(mass, 0.0f, 0.0f), phys::ForceMode::eFORCE, true);
    world.step(0.0);
    statue->setLinearVelocity(glm::vec3(nan, 0.0f, 0.0f), true);
    statue->setAngularVelocity(glm::vec3(0.0f, inf, 0.0f), true);
    statue->addForce(glm::vec3(0.0f, 0.0f, nan), phys::ForceMode::eFORCE, true);
    const glm::vec3 before = positionOf(statue);
    for (double bad : {-1.0, double(nan), double(inf)})
        world.step(bad);
    EXPECT_EQ(positionOf(statue), before);
    world.step(frame);
    EXPECT_NEAR(statue->getLinearVelocity().x, 1.5f, 1e-4f);
    EXPECT_EQ(statue->getLinearVelocity().z, 0.0f);
    EXPECT_EQ(statue->getAngularVelocity(), glm::vec3(0.0f));
}

TEST(PhysicsWorldBodies, StatuesAndCratesNeverTurn)
{
    PhysicsWorld world;
    // A ledge whose edge at x = 1 carries only a thin strip of each box.
    world.createStaticBox(0.0f, -0.5f, -40.0f, 1.0f, 0.5f, 20.0f);
    phys::RigidDynamic* statue = world.createDynamicBox(1.3f, 0.6f, -40.0f, 0.5f, 2.0f, 0.5f);
    phys::RigidDynamic* crate = world.createCrateBody(1.7f, 1.1f, -30.0f, 1.0f, 1.0f, 1.0f);
    // The same kind of box without the rotation limits tips over the edge.
    phys::Material* material = physics->createMaterial(0.001f, 0.001f, 0.001f);
    phys::RigidDynamic* free = phys::createDynamic(*physics, phys::Transform(glm::vec3(1.3f, 0.6f, -50.0f)),
                                                   phys::BoxGeometry(0.5f, 0.5f, 0.5f), *material, 1.0f);
    world.scene->addActor(*free);

    // A second statue slides into the first one off-centre.
    phys::RigidDynamic* rammer = world.createDynamicBox(-0.5f, 0.6f, -37.0f, 0.5f, 2.0f, 0.5f);
    rammer->addForce(glm::vec3(30.0f, 0.0f, -60.0f), phys::ForceMode::eFORCE, true);

    run(world, 1.0);
    EXPECT_GT(turnedAngle(free), 0.2f);
    for (phys::RigidDynamic* body : {statue, crate, rammer}) {
        EXPECT_FLOAT_EQ(turnedAngle(body), 0.0f);
        EXPECT_EQ(body->getAngularVelocity(), glm::vec3(0.0f));
    }
    EXPECT_NEAR(positionOf(crate).y, 1.0f, 0.05f);
}

TEST(PhysicsWorldBodies, StatueCubeIsSizedByItsFirstHalfExtent)
{
    PhysicsWorld deep;
    PhysicsWorld flat;
    addFloor(deep);
    addFloor(flat);
    phys::RigidDynamic* a = deep.createDynamicBox(0.0f, 5.0f, -40.0f, 1.0f, 2.0f, 9.0f);
    phys::RigidDynamic* b = flat.createDynamicBox(0.0f, 5.0f, -40.0f, 1.0f, 2.0f, 0.5f);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->getMass(), b->getMass());

    for (int i = 0; i < 180; ++i) {
        a->addForce(glm::vec3(3.0f, 0.0f, 1.0f), phys::ForceMode::eFORCE, true);
        b->addForce(glm::vec3(3.0f, 0.0f, 1.0f), phys::ForceMode::eFORCE, true);
        deep.step(frame);
        flat.step(frame);
        ASSERT_EQ(positionOf(a), positionOf(b)) << "frame " << i;
    }
    // It rests on the floor at the height of a cube of half size 1.
    EXPECT_NEAR(positionOf(a).y, 1.0f, 0.02f);
}

TEST(PhysicsWorldVehicle, MovesAlongThePushAndSettlesInsteadOfBouncing)
{
    PhysicsWorld world;
    // A closed hall around the vehicle box's start.
    world.createStaticBox(0.0f, -0.5f, 0.0f, 30.0f, 0.5f, 30.0f);
    world.createStaticBox(30.5f, 5.0f, 0.0f, 0.5f, 5.0f, 30.0f);
    world.createStaticBox(-30.5f, 5.0f, 0.0f, 0.5f, 5.0f, 30.0f);
    world.createStaticBox(0.0f, 5.0f, 30.5f, 30.0f, 5.0f, 0.5f);
    world.createStaticBox(0.0f, 5.0f, -30.5f, 30.0f, 5.0f, 0.5f);

    // The first landing: no bounce above the height it fell from.
    float highest = 0.0f;
    for (int i = 0; i < 180; ++i) {
        world.step(frame);
        if (i > 60) {
            highest = std::max(highest, positionOf(vehicleBox).y);
        }
    }
    EXPECT_LT(highest, 1.2f);

    const glm::vec3 start = positionOf(vehicleBox);
    for (int i = 0; i < 30; ++i) {
        vehicleBox->addForce(glm::vec3(0.0f, 0.0f, -100.0f), phys::ForceMode::eFORCE, true);
        world.step(frame);
    }
    const glm::vec3 pushed = positionOf(vehicleBox) - start;
    EXPECT_LT(pushed.z, -0.5f);
    EXPECT_NEAR(pushed.x, 0.0f, 0.01f);
    EXPECT_NEAR(pushed.y, 0.0f, 0.05f);

    // Driving hard into every wall in turn.
    const glm::vec3 pushes[] = {{0, 0, -100}, {100, 0, 0}, {0, 0, 100}, {-100, 0, 0}, {70, 0, 70}};
    highest = 0.0f;
    for (const glm::vec3& push : pushes) {
        for (int i = 0; i < 150; ++i) {
            vehicleBox->addForce(push, phys::ForceMode::eFORCE, true);
            world.step(frame);
            highest = std::max(highest, positionOf(vehicleBox).y);
        }
    }
    run(world, 60.0);
    const glm::vec3 end = positionOf(vehicleBox);
    EXPECT_LT(highest, 1.5f);
    EXPECT_NEAR(end.y, 1.0f, 0.02f);
    EXPECT_LT(std::abs(end.x), 30.0f);
    EXPECT_LT(std::abs(end.z), 30.0f);
    EXPECT_LT(glm::length(vehicleBox->getLinearVelocity()), 0.05f);
}

TEST(PhysicsWorldSteps, ZeroShortAndLongStepsNeitherExplodeNorTunnel)
{
    PhysicsWorld world;
    // A thin floor.
    world.createStaticBox(0.0f, -0.05f, -40.0f, 20.0f, 0.05f, 20.0f);
    phys::RigidDynamic* statue = world.createDynamicBox(0.0f, 20.0f, -40.0f, 0.3f, 1.0f, 0.3f);
    phys::RigidDynamic* crate = world.createCrateBody(5.0f, 10.0f, -40.0f, 1.0f, 1.0f, 1.0f);
    phys::RigidDynamic* player = world.createPlayerBody(1.0f, -5.0f, 15.0f, -40.0f);

    const glm::vec3 before = positionOf(statue);
    world.step(0.0);
    EXPECT_EQ(positionOf(statue), before);
    EXPECT_EQ(statue->getLinearVelocity(), glm::vec3(0.0f));

    // A long first frame lands everything on the floor in one step; the statue only just
    // reaches it at the end of the step.
    world.step(2.0);
    EXPECT_NEAR(positionOf(statue).y, 0.3f, 0.05f);
    EXPECT_NEAR(positionOf(crate).y, 1.0f, 0.05f);
    EXPECT_NEAR(positionOf(player).y, 1.0f, 0.05f);

    // Nothing sinks through the floor, and nothing ever moves faster than the fall made it.
    const float fallSpeed = std::sqrt(2.0f * -world.scene->getGravity().y * 20.0f);
    for (double dt : {0.0, frame, 2.0, frame, 3.0, 0.0}) {
        world.step(dt);
        for (phys::RigidDynamic* body : {statue, crate, player}) {
            EXPECT_GT(positionOf(body).y, 0.2f) << "after a step of " << dt;
            EXPECT_LT(glm::length(body->getLinearVelocity()), fallSpeed) << "after a step of " << dt;
        }
    }
    EXPECT_NEAR(positionOf(statue).y, 0.3f, 0.01f);
    for (phys::RigidDynamic* body : {statue, crate, player}) {
        EXPECT_LT(glm::length(body->getLinearVelocity()), 0.05f);
    }
    const glm::vec3 resting = positionOf(crate);
    world.step(0.0);
    EXPECT_EQ(positionOf(crate), resting);
}

TEST(PhysicsWorldSteps, BodyWithNothingUnderItKeepsFalling)
{
    PhysicsWorld world;
    phys::RigidDynamic* player = world.createPlayerBody(1.0f, 1.0f, 1.0f, 1.0f);
    float lastY = positionOf(player).y;
    for (int i = 0; i < 600; ++i) {
        world.step(frame);
        const float y = positionOf(player).y;
        ASSERT_LT(y, lastY) << "frame " << i;
        lastY = y;
    }
    EXPECT_LT(lastY, -5.0f);
    EXPECT_LT(lastY, -400.0f);
}

TEST(PhysicsWorldFactories, BadInputsMakeNoBody)
{
    PhysicsWorld world;
    for (float bad : {nan, inf, -inf}) {
        EXPECT_EQ(world.createDynamicBox(bad, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, 1.0f, bad, 1.0f), nullptr);
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, bad), nullptr);
        EXPECT_EQ(world.createCrateBody(0.0f, bad, 0.0f, 1.0f, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, 1.0f, bad, 1.0f), nullptr);
        EXPECT_EQ(world.createPlayerBody(1.0f, 0.0f, 0.0f, bad), nullptr);
    }
    for (float bad : {0.0f, -1.0f, nan, inf}) {
        EXPECT_EQ(world.createDynamicBox(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createCrateBody(0.0f, 0.0f, 0.0f, bad, 1.0f, 1.0f), nullptr);
        EXPECT_EQ(world.createPlayerBody(bad, 0.0f, 0.0f, 0.0f), nullptr);
    }
}

TEST(PhysicsWorldFactories, BadStaticBoxIsNotCreated)
{
    PhysicsWorld world;
    // Bad floors under four crates: each crate must fall straight through where its floor would be.
    const float badFloors[][6] = {
        {0.0f, -0.5f, -40.0f, 5.0f, 0.0f, 5.0f},
        {20.0f, -0.5f, -40.0f, 5.0f, 0.5f, -5.0f},
        {40.0f, -0.5f, -40.0f, nan, 0.5f, 5.0f},
        {60.0f, inf, -40.0f, 5.0f, 0.5f, 5.0f},
    };
    std::vector<phys::RigidDynamic*> crates;
    for (const auto& f : badFloors) {
        world.createStaticBox(f[0], f[1], f[2], f[3], f[4], f[5]);
        crates.push_back(world.createCrateBody(f[0], 2.0f, f[2], 1.0f, 1.0f, 1.0f));
    }
    run(world, 2.0);
    for (phys::RigidDynamic* crate : crates) {
        EXPECT_LT(positionOf(crate).y, -5.0f);
    }
}

}  // namespace
