#pragma once
// The rigid-body engine as the game uses it: foundation, physics, scene, materials, static
// and dynamic actors, poses, velocities and forces. Implemented on Bullet in Engine*.cpp:
// EngineCore (conversions and the body every actor wraps), EngineActors, EngineScene (the
// sub-stepped simulation) and EngineFactories. Nothing else in the game sees Bullet.
#include <glm/vec3.hpp>
#include <glm/gtc/quaternion.hpp>

namespace phys {

struct Transform {
    glm::vec3 p{0.0f};
    glm::quat q{1.0f, 0.0f, 0.0f, 0.0f};  // w, x, y, z
    Transform() = default;
    explicit Transform(const glm::vec3& position) : p(position) {}
    Transform(const glm::vec3& position, const glm::quat& rotation) : p(position), q(rotation) {}
};

struct TolerancesScale {
    float length = 1.0f;
    float mass = 1000.0f;
    float speed = 10.0f;
};

struct BoxGeometry {
    glm::vec3 halfExtents;
    BoxGeometry(float hx, float hy, float hz) : halfExtents(hx, hy, hz) {}
};

struct SphereGeometry {
    float radius;
    explicit SphereGeometry(float r) : radius(r) {}
};

// The game pushes bodies with plain forces only.
enum class ForceMode { eFORCE };

class Foundation;
class Physics;
class Scene;
class Material;
class RigidActor;
class RigidStatic;
class RigidDynamic;

struct SceneDesc {
    explicit SceneDesc(const TolerancesScale& scale) : tolerances(scale) {}
    TolerancesScale tolerances;
    glm::vec3 gravity{0.0f};
};

// Creation; each returns nullptr when it cannot.
Foundation* createFoundation();
Physics* createPhysics(Foundation& foundation, const TolerancesScale& scale);

// For tests of the start-up failure paths: while a flag is set, that creation returns nullptr.
struct CreationFailuresForTesting {
    bool foundation = false;
    bool physics = false;
    bool scene = false;
};
void setCreationFailuresForTesting(const CreationFailuresForTesting& failures);

// A dynamic actor whose mass and inertia follow from the density; nullptr for a
// degenerate or non-finite geometry or pose.
RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const BoxGeometry& geometry,
                            Material& material, float density);
RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const SphereGeometry& geometry,
                            Material& material, float density);

class Physics {
public:
    virtual ~Physics() = default;
    virtual const TolerancesScale& getTolerancesScale() const = 0;
    virtual Scene* createScene(const SceneDesc& desc) = 0;
    virtual Material* createMaterial(float staticFriction, float dynamicFriction, float restitution) = 0;
    virtual RigidStatic* createRigidStatic(const Transform& pose) = 0;
    // No visual debugger exists for this engine.
    virtual bool hasVisualDebugger() const { return false; }
};

class Material {
public:
    virtual ~Material() = default;
    virtual float getDynamicFriction() const = 0;
    virtual float getRestitution() const = 0;
};

class RigidActor {
public:
    virtual ~RigidActor() = default;
    virtual Transform getGlobalPose() const = 0;
};

class RigidStatic : public RigidActor {
public:
    // Gives the actor its one box shape, at its origin, before it joins a scene; false for a
    // degenerate geometry, a second shape or an actor already in a scene.
    virtual bool createShape(const BoxGeometry& geometry, Material& material) = 0;
};

class RigidDynamic : public RigidActor {
public:
    // Puts the body at the pose at once, velocities kept; an invalid pose is ignored.
    virtual void setGlobalPose(const Transform& pose, bool autowake = true) = 0;
    virtual glm::vec3 getLinearVelocity() const = 0;
    virtual void setLinearVelocity(const glm::vec3& velocity, bool autowake = true) = 0;
    virtual glm::vec3 getAngularVelocity() const = 0;
    virtual void setAngularVelocity(const glm::vec3& velocity, bool autowake = true) = 0;
    // The force acts during the next simulate only.
    virtual void addForce(const glm::vec3& force, ForceMode mode = ForceMode::eFORCE, bool autowake = true) = 0;
    virtual void setMaxAngularVelocity(float maxAngularVelocity) = 0;
    virtual void setAngularDamping(float damping) = 0;
    virtual float getMass() const = 0;
};

class Scene {
public:
    virtual ~Scene() = default;
    virtual void addActor(RigidActor& actor) = 0;
    virtual void simulate(float dt) = 0;
    // With block true, returns only when the step is complete.
    virtual bool fetchResults(bool block) = 0;
    virtual glm::vec3 getGravity() const = 0;
};

class Foundation {
public:
    virtual ~Foundation() = default;
};

}  // namespace phys
