#include "physics/EngineCore.h"

#include <algorithm>
#include <cmath>

namespace phys {

bool isFinite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isPositive(float v)
{
    return std::isfinite(v) && v > 0.0f;
}

bool isValidBox(const BoxGeometry& geometry)
{
    return isPositive(geometry.halfExtents.x) && isPositive(geometry.halfExtents.y) &&
           isPositive(geometry.halfExtents.z);
}

bool isValidPose(const Transform& pose)
{
    const glm::quat& q = pose.q;
    if (!isFinite(pose.p) || !std::isfinite(q.w) || !std::isfinite(q.x) || !std::isfinite(q.y) ||
        !std::isfinite(q.z)) {
        return false;
    }
    return glm::dot(q, q) > 1e-12f;
}

btVector3 toBullet(const glm::vec3& v)
{
    return btVector3(v.x, v.y, v.z);
}

glm::vec3 toGlm(const btVector3& v)
{
    return glm::vec3(v.x(), v.y(), v.z());
}

btTransform toBullet(const Transform& pose)
{
    const glm::quat q = glm::normalize(pose.q);
    return btTransform(btQuaternion(q.x, q.y, q.z, q.w), toBullet(pose.p));
}

Transform toTransform(const btTransform& transform)
{
    const btQuaternion r = transform.getRotation();
    return Transform(toGlm(transform.getOrigin()), glm::quat(r.w(), r.x(), r.y(), r.z()));
}

// Friction of a contact is the average of the two bodies' frictions. Restitution is the
// smaller of the two: the vehicle box's material has a restitution above 1, and only
// the minimum keeps it from gaining height with every bounce off the floor, whose
// restitution is almost 0; two bouncy bodies still bounce off each other.
btScalar combineFriction(const btCollisionObject* a, const btCollisionObject* b)
{
    return 0.5f * (a->getFriction() + b->getFriction());
}

btScalar combineRestitution(const btCollisionObject* a, const btCollisionObject* b)
{
    return std::min(a->getRestitution(), b->getRestitution());
}

btScalar toBulletDamping(float coefficient)
{
    return 1.0f - std::exp(-coefficient);
}

std::unique_ptr<btBoxShape> makeBoxShape(const glm::vec3& halfExtents)
{
    auto shape = std::make_unique<btBoxShape>(toBullet(halfExtents));
    const float smallest = std::min({halfExtents.x, halfExtents.y, halfExtents.z});
    shape->setMargin(std::min(boxMargin, 0.1f * smallest));
    return shape;
}

BodyCore::BodyCore(const Transform& pose, float mass)
{
    btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, &empty);
    body = std::make_unique<btRigidBody>(info);
    body->setWorldTransform(toBullet(pose));
    body->setUserPointer(this);
}

// Bullet keeps one friction and restitution per body: the shape's material is the body's.
bool BodyCore::attachShape(std::unique_ptr<btCollisionShape> newShape, const Material& material)
{
    if (shape || inScene) {
        return false;
    }
    body->setFriction(material.getDynamicFriction());
    body->setRestitution(material.getRestitution());
    shape = std::move(newShape);
    body->setCollisionShape(shape.get());
    return true;
}

}  // namespace phys
