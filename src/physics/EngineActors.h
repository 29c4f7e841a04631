#pragma once
// Inside the engine layer only: materials and the static and dynamic actors on Bullet bodies.
#include "physics/EngineCore.h"

namespace phys {

class MaterialImpl : public Material {
public:
    MaterialImpl(float dynamicFriction, float restitution) : dynamicFriction(dynamicFriction), restitution(restitution)
    {
    }
    float getDynamicFriction() const override { return dynamicFriction; }
    float getRestitution() const override { return restitution; }

private:
    float dynamicFriction;
    float restitution;
};

class StaticActor : public RigidStatic {
public:
    explicit StaticActor(const Transform& pose) : core(pose, 0.0f) {}

    Transform getGlobalPose() const override;
    bool createShape(const BoxGeometry& geometry, Material& material) override;

    BodyCore core;
};

class DynamicActor : public RigidDynamic {
public:
    // The body gets its shape, and with it its inertia about its centre, at once.
    DynamicActor(const Transform& pose, float mass, std::unique_ptr<btCollisionShape> shape, float innerRadius,
                 const Material& material);

    Transform getGlobalPose() const override;
    void setGlobalPose(const Transform& pose, bool autowake) override;
    glm::vec3 getLinearVelocity() const override;
    void setLinearVelocity(const glm::vec3& velocity, bool autowake) override;
    glm::vec3 getAngularVelocity() const override;
    void setAngularVelocity(const glm::vec3& velocity, bool autowake) override;
    void addForce(const glm::vec3& force, ForceMode mode, bool autowake) override;
    void setMaxAngularVelocity(float maxAngularVelocity) override;
    void setAngularDamping(float damping) override;
    float getMass() const override { return mass; }

    // Called by the scene around each simulate: the force of this simulate acts on
    // every substep of it, together with gravity, and is then gone.
    void beginStep();
    void endStep();
    void limitAngularVelocity();

    BodyCore core;

private:
    void wake(bool autowake);

    float mass;
    glm::vec3 pendingForce{0.0f};
    float maxAngular = defaultMaxAngularVelocity;
};

}  // namespace phys
