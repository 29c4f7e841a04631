// The engine's factories: foundation, physics, scenes, materials and actors. Nothing they make is
// ever released while the game runs.
#include "physics/Engine.h"

#include <BulletCollision/CollisionDispatch/btManifoldResult.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "physics/EngineScene.h"

namespace phys {

namespace {

CreationFailuresForTesting creationFailures;

class FoundationImpl : public Foundation {};

// Owns everything it creates. Nothing of the engine is released while the game runs.
class PhysicsImpl : public Physics {
public:
    explicit PhysicsImpl(const TolerancesScale& scale) : scale(scale)
    {
        gCalculateCombinedFrictionCallback = combineFriction;
        gCalculateCombinedRestitutionCallback = combineRestitution;
    }

    const TolerancesScale& getTolerancesScale() const override { return scale; }

    Scene* createScene(const SceneDesc& desc) override
    {
        if (creationFailures.scene || !isFinite(desc.gravity)) {
            return nullptr;
        }
        scenes.push_back(std::make_unique<SceneImpl>(desc));
        return scenes.back().get();
    }

    Material* createMaterial(float staticFriction, float dynamicFriction, float restitution) override
    {
        if (!std::isfinite(staticFriction) || !std::isfinite(dynamicFriction) || !std::isfinite(restitution) ||
            staticFriction < 0.0f || dynamicFriction < 0.0f || restitution < 0.0f) {
            return nullptr;
        }
        materials.push_back(std::make_unique<MaterialImpl>(dynamicFriction, restitution));
        return materials.back().get();
    }

    RigidStatic* createRigidStatic(const Transform& pose) override
    {
        if (!isValidPose(pose)) {
            return nullptr;
        }
        auto actor = std::make_unique<StaticActor>(pose);
        RigidStatic* result = actor.get();
        actors.push_back(std::move(actor));
        return result;
    }

    RigidDynamic* createDynamic(const Transform& pose, std::unique_ptr<btCollisionShape> shape, float mass,
                                float innerRadius, const Material& material)
    {
        auto actor = std::make_unique<DynamicActor>(pose, mass, std::move(shape), innerRadius, material);
        RigidDynamic* result = actor.get();
        actors.push_back(std::move(actor));
        return result;
    }

private:
    TolerancesScale scale;
    // Actors outlive the scenes that hold their bodies.
    std::vector<std::unique_ptr<RigidActor>> actors;
    std::vector<std::unique_ptr<MaterialImpl>> materials;
    std::vector<std::unique_ptr<SceneImpl>> scenes;
};

// Every foundation and physics object ever made stays reachable until the
// process ends; none is released.
struct Registry {
    std::vector<std::unique_ptr<FoundationImpl>> foundations;
    std::vector<std::unique_ptr<PhysicsImpl>> physics;
};

Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

RigidDynamic* createValidDynamic(Physics& physics, const Transform& pose, std::unique_ptr<btCollisionShape> shape,
                                 float volume, float innerRadius, Material& material, float density)
{
    auto* owner = dynamic_cast<PhysicsImpl*>(&physics);
    const float mass = density * volume;
    if (!owner || !isPositive(mass)) {
        return nullptr;
    }
    return owner->createDynamic(pose, std::move(shape), mass, innerRadius, material);
}

}  // namespace

void setCreationFailuresForTesting(const CreationFailuresForTesting& failures)
{
    creationFailures = failures;
}

Foundation* createFoundation()
{
    if (creationFailures.foundation) {
        return nullptr;
    }
    registry().foundations.push_back(std::make_unique<FoundationImpl>());
    return registry().foundations.back().get();
}

Physics* createPhysics(Foundation&, const TolerancesScale& scale)
{
    if (creationFailures.physics || !isPositive(scale.length) || !isPositive(scale.mass) || !isPositive(scale.speed)) {
        return nullptr;
    }
    registry().physics.push_back(std::make_unique<PhysicsImpl>(scale));
    return registry().physics.back().get();
}

RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const BoxGeometry& geometry, Material& material,
                            float density)
{
    if (!isValidPose(pose) || !isValidBox(geometry) || !isPositive(density)) {
        return nullptr;
    }
    const glm::vec3& h = geometry.halfExtents;
    return createValidDynamic(physics, pose, makeBoxShape(h), 8.0f * h.x * h.y * h.z, std::min({h.x, h.y, h.z}),
                              material, density);
}

RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const SphereGeometry& geometry,
                            Material& material, float density)
{
    const float r = geometry.radius;
    if (!isValidPose(pose) || !isPositive(r) || !isPositive(density)) {
        return nullptr;
    }
    constexpr float pi = 3.14159265358979f;
    return createValidDynamic(physics, pose, std::make_unique<btSphereShape>(r), 4.0f / 3.0f * pi * r * r * r, r,
                              material, density);
}

}  // namespace phys
