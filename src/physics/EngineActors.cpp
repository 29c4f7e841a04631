#include "physics/EngineActors.h"

#include <algorithm>
#include <cmath>

namespace phys {

Transform StaticActor::getGlobalPose() const
{
    return toTransform(core.body->getWorldTransform());
}

bool StaticActor::createShape(const BoxGeometry& geometry, Material& material)
{
    if (!isValidBox(geometry)) {
        return false;
    }
    return core.attachShape(makeBoxShape(geometry.halfExtents), material);
}

DynamicActor::DynamicActor(const Transform& pose, float mass, std::unique_ptr<btCollisionShape> shape,
                           float innerRadius, const Material& material)
    : core(pose, mass), mass(mass)
{
    btVector3 inertia(0, 0, 0);
    shape->calculateLocalInertia(mass, inertia);
    btRigidBody& body = *core.body;
    body.setSleepingThresholds(sleepLinearSpeed, sleepAngularSpeed);
    setAngularDamping(defaultAngularDamping);
    core.attachShape(std::move(shape), material);
    body.setMassProps(mass, inertia);
    body.updateInertiaTensor();
    // Fast bodies are swept against the others so that they cannot skip through a box;
    // innerRadius is the radius of the largest sphere inside the shape.
    body.setCcdMotionThreshold(0.5f * innerRadius);
    body.setCcdSweptSphereRadius(0.9f * innerRadius);
}

Transform DynamicActor::getGlobalPose() const
{
    return toTransform(core.body->getWorldTransform());
}

void DynamicActor::setGlobalPose(const Transform& pose, bool autowake)
{
    if (!isValidPose(pose)) {
        return;
    }
    core.body->setWorldTransform(toBullet(pose));
    core.body->setInterpolationWorldTransform(toBullet(pose));
    wake(autowake);
}

glm::vec3 DynamicActor::getLinearVelocity() const
{
    return toGlm(core.body->getLinearVelocity());
}

void DynamicActor::setLinearVelocity(const glm::vec3& velocity, bool autowake)
{
    if (!isFinite(velocity)) {
        return;
    }
    core.body->setLinearVelocity(toBullet(velocity));
    wake(autowake);
}

glm::vec3 DynamicActor::getAngularVelocity() const
{
    return toGlm(core.body->getAngularVelocity());
}

void DynamicActor::setAngularVelocity(const glm::vec3& velocity, bool autowake)
{
    if (!isFinite(velocity)) {
        return;
    }
    core.body->setAngularVelocity(toBullet(velocity));
    limitAngularVelocity();
    wake(autowake);
}

void DynamicActor::addForce(const glm::vec3& force, ForceMode, bool autowake)
{
    if (!isFinite(force)) {
        return;
    }
    pendingForce += force;
    wake(autowake);
}

void DynamicActor::setMaxAngularVelocity(float maxAngularVelocity)
{
    if (std::isnan(maxAngularVelocity)) {
        return;
    }
    maxAngular = std::max(maxAngularVelocity, 0.0f);
    // A limit of 0 locks rotation entirely, also against contacts inside a step.
    core.body->setAngularFactor(maxAngular > 0.0f ? 1.0f : 0.0f);
    limitAngularVelocity();
}

void DynamicActor::setAngularDamping(float damping)
{
    if (std::isnan(damping)) {
        return;
    }
    core.body->setDamping(core.body->getLinearDamping(), toBulletDamping(std::max(damping, 0.0f)));
}

void DynamicActor::beginStep()
{
    btRigidBody& body = *core.body;
    body.clearForces();
    body.applyGravity();
    body.applyCentralForce(toBullet(pendingForce));
    pendingForce = glm::vec3(0.0f);
}

void DynamicActor::endStep()
{
    core.body->clearForces();
}

void DynamicActor::limitAngularVelocity()
{
    btRigidBody& body = *core.body;
    const btVector3 w = body.getAngularVelocity();
    const btScalar length = w.length();
    if (length > maxAngular) {
        body.setAngularVelocity(maxAngular > 0.0f ? w * (maxAngular / length) : btVector3(0, 0, 0));
    }
}

void DynamicActor::wake(bool autowake)
{
    if (autowake) {
        core.body->activate(true);
    }
}

}  // namespace phys
