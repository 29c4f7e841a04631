#pragma once
// Inside the engine layer only: the conversions between our types and Bullet's, the checks
// every factory and setter makes, and the Bullet body that every actor wraps.
#include <btBulletDynamicsCommon.h>

#include <memory>

#include "physics/Engine.h"

namespace phys {

// Steps are split into substeps no longer than this, so that a long frame (the first
// one can last seconds) neither explodes nor lets a body pass through a thin box.
constexpr float maxSubstep = 1.0f / 120.0f;
// A frame longer than this many substeps (about 34 s) is covered with longer substeps
// instead of stalling the game.
constexpr int maxSubstepsPerStep = 4096;
// Bodies slower than this (units per second, radians per second) for two seconds sleep.
constexpr float sleepLinearSpeed = 0.1f;
constexpr float sleepAngularSpeed = 0.1f;
// Defaults of a new dynamic body.
constexpr float defaultAngularDamping = 0.05f;
constexpr float defaultMaxAngularVelocity = 7.0f;
// Collision margin of boxes, never more than a tenth of their smallest half extent.
constexpr float boxMargin = 0.04f;

bool isFinite(const glm::vec3& v);
// Finite and above zero.
bool isPositive(float v);
bool isValidBox(const BoxGeometry& geometry);
// A finite position and a finite rotation that is not all zero.
bool isValidPose(const Transform& pose);

btVector3 toBullet(const glm::vec3& v);
glm::vec3 toGlm(const btVector3& v);
btTransform toBullet(const Transform& pose);
Transform toTransform(const btTransform& transform);

// Damping as "velocity shrinks by 1 / (1 + c·dt)" expressed as Bullet's fraction lost per second.
btScalar toBulletDamping(float coefficient);

std::unique_ptr<btBoxShape> makeBoxShape(const glm::vec3& halfExtents);

// Contacts take the average friction and the smaller restitution of the two bodies.
btScalar combineFriction(const btCollisionObject* a, const btCollisionObject* b);
btScalar combineRestitution(const btCollisionObject* a, const btCollisionObject* b);

// The Bullet side of one actor: its body and its one shape.
class BodyCore {
public:
    BodyCore(const Transform& pose, float mass);

    // Gives the body its shape and the shape's material; false when it already has one or is
    // already in a scene.
    bool attachShape(std::unique_ptr<btCollisionShape> shape, const Material& material);

    std::unique_ptr<btRigidBody> body;
    bool inScene = false;

private:
    btEmptyShape empty;
    std::unique_ptr<btCollisionShape> shape;
};

}  // namespace phys
