// The engine layer on its own: scenes, bodies, forces and steps, without the game's world.
#include "physics/Engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using phys::BoxGeometry;
using phys::SphereGeometry;
using phys::Transform;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

struct EngineScene {
    phys::Physics* physics = nullptr;
    phys::Scene* scene = nullptr;
    phys::Material* material = nullptr;

    explicit EngineScene(const glm::vec3& gravity)
    {
        phys::Foundation* foundation = phys::createFoundation();
        physics = phys::createPhysics(*foundation, phys::TolerancesScale());
        phys::SceneDesc desc(physics->getTolerancesScale());
        desc.gravity = gravity;
        desc.cpuDispatcher = phys::defaultCpuDispatcherCreate(1);
        scene = physics->createScene(desc);
        material = physics->createMaterial(0.0f, 0.0f, 0.0f);
    }

    phys::RigidDynamic* box(const glm::vec3& at, const glm::vec3& halfExtents, float density = 1.0f)
    {
        phys::RigidDynamic* body = phys::createDynamic(*physics, Transform(at),
                                                       BoxGeometry(halfExtents.x, halfExtents.y, halfExtents.z),
                                                       *material, density);
        scene->addActor(*body);
        return body;
    }

    void step(float dt)
    {
        scene->simulate(dt);
        EXPECT_TRUE(scene->fetchResults(true));
    }
};

TEST(Engine, SceneGravityComesFromItsDescription)
{
    const glm::vec3 gravity(0.0f, 0.0f, -2.0f);
    EngineScene world(gravity);
    EXPECT_EQ(world.scene->getGravity(), gravity);
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f), glm::vec3(0.5f));

    world.step(1.0f);
    EXPECT_NEAR(body->getLinearVelocity().z, -2.0f, 1e-4f);
    EXPECT_NEAR(body->getLinearVelocity().y, 0.0f, 1e-6f);
    EXPECT_NEAR(body->getGlobalPose().p.z, -1.0f, 0.02f);
}

TEST(Engine, MassFollowsDensityAndVolume)
{
    EngineScene world(glm::vec3(0.0f));
    EXPECT_FLOAT_EQ(world.box(glm::vec3(0.0f), glm::vec3(1.0f, 2.0f, 3.0f), 2.0f)->getMass(), 2.0f * 48.0f);
    phys::RigidDynamic* sphere =
        phys::createDynamic(*world.physics, Transform(glm::vec3(10.0f)), SphereGeometry(2.0f), *world.material, 3.0f);
    ASSERT_NE(sphere, nullptr);
    EXPECT_NEAR(sphere->getMass(), 3.0f * 4.0f / 3.0f * 3.14159265f * 8.0f, 1e-3f);
}

TEST(Engine, ForceModesChangeVelocityByMass)
{
    EngineScene world(glm::vec3(0.0f));
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f), glm::vec3(1.0f));  // mass 8
    const float mass = body->getMass();

    body->addForce(glm::vec3(mass, 0.0f, 0.0f), phys::ForceMode::eIMPULSE);
    body->addForce(glm::vec3(0.0f, 2.0f, 0.0f), phys::ForceMode::eVELOCITY_CHANGE);
    body->addForce(glm::vec3(0.0f, 0.0f, 4.0f), phys::ForceMode::eACCELERATION);
    world.step(0.5f);
    const glm::vec3 v = body->getLinearVelocity();
    EXPECT_NEAR(v.x, 1.0f, 1e-5f);
    EXPECT_NEAR(v.y, 2.0f, 1e-5f);
    EXPECT_NEAR(v.z, 2.0f, 1e-5f);
}

TEST(Engine, ForceActsForTheWholeOfOneLongStepOnly)
{
    EngineScene world(glm::vec3(0.0f));
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f), glm::vec3(1.0f));
    const float mass = body->getMass();

    // A long step is split internally; the force must still act on all of it.
    body->addForce(glm::vec3(0.0f, 0.0f, mass));
    world.step(0.75f);
    EXPECT_NEAR(body->getLinearVelocity().z, 0.75f, 1e-4f);
    EXPECT_NEAR(body->getGlobalPose().p.z, 0.5f * 0.75f * 0.75f, 0.01f);

    world.step(0.75f);
    EXPECT_NEAR(body->getLinearVelocity().z, 0.75f, 1e-4f);

    // Forces added together in one frame add up.
    body->addForce(glm::vec3(mass, 0.0f, 0.0f));
    body->addForce(glm::vec3(mass, 0.0f, 0.0f));
    world.step(0.25f);
    EXPECT_NEAR(body->getLinearVelocity().x, 0.5f, 1e-4f);
}

TEST(Engine, StepOfZeroChangesNothingAndConsumesTheForce)
{
    EngineScene world(glm::vec3(0.0f, -9.8f, 0.0f));
    phys::RigidDynamic* body = world.box(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f));
    body->setLinearVelocity(glm::vec3(1.0f, 2.0f, 3.0f));
    body->addForce(glm::vec3(100.0f, 0.0f, 0.0f));

    world.step(0.0f);
    EXPECT_EQ(body->getGlobalPose().p, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(body->getLinearVelocity(), glm::vec3(1.0f, 2.0f, 3.0f));

    world.step(1.0f / 60.0f);
    EXPECT_NEAR(body->getLinearVelocity().x, 1.0f, 1e-6f);
}

TEST(Engine, LockedRotationStaysLockedEvenWhenSpinIsSet)
{
    EngineScene world(glm::vec3(0.0f));
    phys::RigidDynamic* locked = world.box(glm::vec3(0.0f), glm::vec3(1.0f));
    phys::RigidDynamic* free = world.box(glm::vec3(10.0f, 0.0f, 0.0f), glm::vec3(1.0f));
    locked->setMaxAngularVelocity(0.0f);
    locked->setAngularDamping(1000000.0f);

    for (phys::RigidDynamic* body : {locked, free}) {
        body->setAngularVelocity(glm::vec3(0.0f, 3.0f, 0.0f));
    }
    world.step(0.5f);
    EXPECT_EQ(locked->getAngularVelocity(), glm::vec3(0.0f));
    EXPECT_FLOAT_EQ(std::abs(locked->getGlobalPose().q.w), 1.0f);
    EXPECT_LT(std::abs(free->getGlobalPose().q.w), 0.99f);
}

TEST(Engine, BodiesCollideWithEachOther)
{
    EngineScene world(glm::vec3(0.0f));
    phys::RigidDynamic* left = world.box(glm::vec3(-3.0f, 0.0f, 0.0f), glm::vec3(1.0f));
    phys::RigidDynamic* right = world.box(glm::vec3(3.0f, 0.0f, 0.0f), glm::vec3(1.0f));
    left->setLinearVelocity(glm::vec3(5.0f, 0.0f, 0.0f));
    for (int i = 0; i < 120; ++i) {
        world.step(1.0f / 60.0f);
    }
    EXPECT_GT(right->getLinearVelocity().x, 1.0f);
    EXPECT_GT(right->getGlobalPose().p.x - left->getGlobalPose().p.x, 1.9f);
}

TEST(Engine, StaticBoxStopsAFastBodyWithinOneLongStep)
{
    EngineScene world(glm::vec3(0.0f, -9.8f, 0.0f));
    phys::RigidStatic* floor = world.physics->createRigidStatic(Transform(glm::vec3(0.0f, -0.05f, 0.0f)));
    ASSERT_TRUE(floor->createShape(BoxGeometry(20.0f, 0.05f, 20.0f), *world.material));
    world.scene->addActor(*floor);
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(0.25f));
    body->setLinearVelocity(glm::vec3(0.0f, -200.0f, 0.0f));

    world.step(2.0f);
    EXPECT_NEAR(body->getGlobalPose().p.y, 0.25f, 0.05f);
}

TEST(Engine, ShapesAddedLaterTakePartInCollisions)
{
    EngineScene world(glm::vec3(0.0f, -9.8f, 0.0f));
    // A cross of two boxes on one static actor that is already in the scene: a wide slab
    // with its top at y = 0.5 and a post with its top at y = 3.
    phys::RigidStatic* cross = world.physics->createRigidStatic(Transform());
    world.scene->addActor(*cross);
    ASSERT_TRUE(cross->createShape(BoxGeometry(10.0f, 0.5f, 10.0f), *world.material));
    ASSERT_TRUE(cross->createShape(BoxGeometry(0.5f, 3.0f, 0.5f), *world.material));
    phys::RigidDynamic* onSlab = world.box(glm::vec3(6.0f, 5.0f, 0.0f), glm::vec3(0.5f));
    phys::RigidDynamic* onPost = world.box(glm::vec3(0.0f, 5.0f, 0.0f), glm::vec3(0.5f));

    // A dynamic body grown by a second, larger shape rests on that shape; its mass stays.
    phys::RigidDynamic* grown = world.box(glm::vec3(-6.0f, 5.0f, 0.0f), glm::vec3(0.5f));
    const float mass = grown->getMass();
    ASSERT_TRUE(grown->createShape(BoxGeometry(1.0f, 1.0f, 1.0f), *world.material));

    for (int i = 0; i < 180; ++i) {
        world.step(1.0f / 60.0f);
    }
    EXPECT_NEAR(onSlab->getGlobalPose().p.y, 1.0f, 0.02f);
    EXPECT_NEAR(onPost->getGlobalPose().p.y, 3.5f, 0.02f);
    EXPECT_NEAR(grown->getGlobalPose().p.y, 1.5f, 0.02f);
    EXPECT_EQ(grown->getMass(), mass);
}

TEST(Engine, SceneWithoutPairCollisionsLetsBodiesPass)
{
    phys::Foundation* foundation = phys::createFoundation();
    phys::Physics* physics = phys::createPhysics(*foundation, phys::TolerancesScale());
    phys::SceneDesc desc(physics->getTolerancesScale());
    desc.gravity = glm::vec3(0.0f, -9.8f, 0.0f);
    desc.collideAllPairs = false;
    phys::Scene* scene = physics->createScene(desc);
    phys::Material* material = physics->createMaterial(0.1f, 0.1f, 0.0f);
    phys::RigidStatic* floor = physics->createRigidStatic(Transform(glm::vec3(0.0f, -0.5f, 0.0f)));
    ASSERT_TRUE(floor->createShape(BoxGeometry(10.0f, 0.5f, 10.0f), *material));
    scene->addActor(*floor);
    phys::RigidDynamic* body =
        phys::createDynamic(*physics, Transform(glm::vec3(0.0f, 1.0f, 0.0f)), BoxGeometry(0.5f, 0.5f, 0.5f),
                            *material, 1.0f);
    scene->addActor(*body);
    scene->simulate(2.0f);
    scene->fetchResults(true);
    EXPECT_LT(body->getGlobalPose().p.y, -5.0f);
}

TEST(Engine, BadInputsCreateNothing)
{
    EngineScene world(glm::vec3(0.0f));
    phys::Physics& physics = *world.physics;
    phys::Material& material = *world.material;
    const Transform origin;

    for (float bad : {0.0f, -1.0f, nan, inf}) {
        EXPECT_EQ(phys::createDynamic(physics, origin, BoxGeometry(bad, 1.0f, 1.0f), material, 1.0f), nullptr);
        EXPECT_EQ(phys::createDynamic(physics, origin, BoxGeometry(1.0f, 1.0f, bad), material, 1.0f), nullptr);
        EXPECT_EQ(phys::createDynamic(physics, origin, SphereGeometry(bad), material, 1.0f), nullptr);
        EXPECT_EQ(phys::createDynamic(physics, origin, BoxGeometry(1.0f, 1.0f, 1.0f), material, bad), nullptr);
        EXPECT_EQ(phys::createDynamic(physics, origin, SphereGeometry(1.0f), material, bad), nullptr);
    }
    for (float bad : {nan, inf}) {
        const Transform badPose(glm::vec3(0.0f, bad, 0.0f));
        EXPECT_EQ(phys::createDynamic(physics, badPose, BoxGeometry(1.0f, 1.0f, 1.0f), material, 1.0f), nullptr);
        EXPECT_EQ(phys::createDynamic(physics, badPose, SphereGeometry(1.0f), material, 1.0f), nullptr);
        EXPECT_EQ(physics.createRigidStatic(badPose), nullptr);
        const Transform badRotation(glm::vec3(0.0f), glm::quat(bad, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(phys::createDynamic(physics, badRotation, SphereGeometry(1.0f), material, 1.0f), nullptr);
        EXPECT_EQ(physics.createMaterial(bad, 0.1f, 0.1f), nullptr);
    }
    const Transform zeroRotation(glm::vec3(0.0f), glm::quat(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(physics.createRigidStatic(zeroRotation), nullptr);

    phys::RigidStatic* wall = physics.createRigidStatic(origin);
    ASSERT_NE(wall, nullptr);
    EXPECT_FALSE(wall->createShape(BoxGeometry(1.0f, 0.0f, 1.0f), material));
    EXPECT_FALSE(wall->createShape(BoxGeometry(1.0f, nan, 1.0f), material));

    phys::SceneDesc badGravity(physics.getTolerancesScale());
    badGravity.gravity = glm::vec3(0.0f, nan, 0.0f);
    EXPECT_EQ(physics.createScene(badGravity), nullptr);
}

TEST(Engine, NonFiniteVelocitiesAndForcesAreIgnored)
{
    EngineScene world(glm::vec3(0.0f));
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f), glm::vec3(1.0f));
    body->setLinearVelocity(glm::vec3(1.0f, 0.0f, 0.0f));
    body->setLinearVelocity(glm::vec3(nan, 0.0f, 0.0f));
    body->setAngularVelocity(glm::vec3(0.0f, inf, 0.0f));
    body->addForce(glm::vec3(0.0f, 0.0f, nan));
    world.step(1.0f);
    EXPECT_EQ(body->getLinearVelocity(), glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_NEAR(body->getGlobalPose().p.x, 1.0f, 1e-5f);
    EXPECT_EQ(body->getAngularVelocity(), glm::vec3(0.0f));
}

TEST(Engine, BadStepLengthsAreIgnored)
{
    EngineScene world(glm::vec3(0.0f, -9.8f, 0.0f));
    phys::RigidDynamic* body = world.box(glm::vec3(0.0f), glm::vec3(1.0f));
    for (float bad : {-1.0f, nan, inf}) {
        world.step(bad);
    }
    EXPECT_EQ(body->getGlobalPose().p, glm::vec3(0.0f));
    EXPECT_EQ(body->getLinearVelocity(), glm::vec3(0.0f));
}

}  // namespace
