#include "physics/Engine.h"

#include <btBulletDynamicsCommon.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace phys {

namespace {

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

CreationFailuresForTesting creationFailures;

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

// Damping as "velocity shrinks by 1 / (1 + c·dt)" expressed as Bullet's fraction lost per second.
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

// The simulation world, advanced by equal substeps of our own that cover exactly the
// step's length: Bullet's own stepping either takes one step of any length or carries
// left-over time into the next call and interpolates.
class World : public btDiscreteDynamicsWorld {
public:
    using btDiscreteDynamicsWorld::btDiscreteDynamicsWorld;
    void advance(btScalar dt) { internalSingleStepSimulation(dt); }
};

class SceneImpl;

class MaterialImpl : public Material {
public:
    MaterialImpl(float staticFriction, float dynamicFriction, float restitution)
        : staticFriction(staticFriction), dynamicFriction(dynamicFriction), restitution(restitution)
    {
    }
    float getStaticFriction() const override { return staticFriction; }
    float getDynamicFriction() const override { return dynamicFriction; }
    float getRestitution() const override { return restitution; }

private:
    float staticFriction;
    float dynamicFriction;
    float restitution;
};

// The Bullet side of one actor: its body and the shapes it owns.
class BodyCore {
public:
    BodyCore(const Transform& pose, float mass)
    {
        btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, &empty);
        body = std::make_unique<btRigidBody>(info);
        body->setWorldTransform(toBullet(pose));
        body->setUserPointer(this);
    }

    // Adds a shape at the given local frame. Bullet keeps one friction and restitution
    // per body, so the material of the first shape is the body's material.
    void attachShape(std::unique_ptr<btCollisionShape> shape, const btTransform& local, const Material& material)
    {
        if (parts.empty()) {
            body->setFriction(material.getDynamicFriction());
            body->setRestitution(material.getRestitution());
        }
        btCollisionShape* single = parts.empty() ? nullptr : parts.front().shape.get();
        parts.push_back({std::move(shape), local});
        btCollisionShape* next = nullptr;
        if (parts.size() == 1 && local == btTransform::getIdentity()) {
            next = parts.back().shape.get();
        } else {
            if (!compound) {
                compound = std::make_unique<btCompoundShape>();
                if (single) {
                    compound->addChildShape(parts.front().local, single);
                }
            }
            compound->addChildShape(local, parts.back().shape.get());
            next = compound.get();
        }
        replaceShape(next);
    }

    std::unique_ptr<btRigidBody> body;
    SceneImpl* scene = nullptr;

private:
    void replaceShape(btCollisionShape* shape);

    struct Part {
        std::unique_ptr<btCollisionShape> shape;
        btTransform local;
    };
    btEmptyShape empty;
    std::vector<Part> parts;
    std::unique_ptr<btCompoundShape> compound;
};

class StaticActor : public RigidStatic {
public:
    explicit StaticActor(const Transform& pose) : core(pose, 0.0f) {}

    Transform getGlobalPose() const override { return toTransform(core.body->getWorldTransform()); }

    bool createShape(const BoxGeometry& geometry, Material& material) override
    {
        if (!isValidBox(geometry)) {
            return false;
        }
        core.attachShape(makeBoxShape(geometry.halfExtents), btTransform::getIdentity(), material);
        return true;
    }

    BodyCore core;
};

class DynamicActor : public RigidDynamic {
public:
    DynamicActor(const Transform& pose, float mass) : core(pose, mass), mass(mass)
    {
        btRigidBody& body = *core.body;
        body.setSleepingThresholds(sleepLinearSpeed, sleepAngularSpeed);
        setAngularDamping(defaultAngularDamping);
    }

    // Mass properties and continuous collision once the shape is known; innerRadius is
    // the radius of the largest sphere inside the shape.
    void finish(const btVector3& inertia, float innerRadius)
    {
        btRigidBody& body = *core.body;
        body.setMassProps(mass, inertia);
        body.updateInertiaTensor();
        // Fast bodies are swept against the others so that they cannot skip through a box.
        body.setCcdMotionThreshold(0.5f * innerRadius);
        body.setCcdSweptSphereRadius(0.9f * innerRadius);
    }

    Transform getGlobalPose() const override { return toTransform(core.body->getWorldTransform()); }

    bool createShape(const BoxGeometry& geometry, Material& material) override
    {
        if (!isValidBox(geometry)) {
            return false;
        }
        core.attachShape(makeBoxShape(geometry.halfExtents), btTransform::getIdentity(), material);
        return true;
    }

    void setGlobalPose(const Transform& pose, bool autowake) override
    {
        if (!isValidPose(pose)) {
            return;
        }
        core.body->setWorldTransform(toBullet(pose));
        core.body->setInterpolationWorldTransform(toBullet(pose));
        wake(autowake);
    }

    glm::vec3 getLinearVelocity() const override { return toGlm(core.body->getLinearVelocity()); }

    void setLinearVelocity(const glm::vec3& velocity, bool autowake) override
    {
        if (!isFinite(velocity)) {
            return;
        }
        core.body->setLinearVelocity(toBullet(velocity));
        wake(autowake);
    }

    glm::vec3 getAngularVelocity() const override { return toGlm(core.body->getAngularVelocity()); }

    void setAngularVelocity(const glm::vec3& velocity, bool autowake) override
    {
        if (!isFinite(velocity)) {
            return;
        }
        core.body->setAngularVelocity(toBullet(velocity));
        limitAngularVelocity();
        wake(autowake);
    }

    void addForce(const glm::vec3& force, ForceMode mode, bool autowake) override
    {
        if (!isFinite(force)) {
            return;
        }
        switch (mode) {
        case ForceMode::eFORCE:
            pendingForce += force;
            break;
        case ForceMode::eACCELERATION:
            pendingForce += force * mass;
            break;
        case ForceMode::eIMPULSE:
            core.body->setLinearVelocity(core.body->getLinearVelocity() + toBullet(force / mass));
            break;
        case ForceMode::eVELOCITY_CHANGE:
            core.body->setLinearVelocity(core.body->getLinearVelocity() + toBullet(force));
            break;
        }
        wake(autowake);
    }

    // The game only moves the centre of mass of bodies that cannot turn, where it has no
    // effect on their motion, so it is kept as a property and the body stays centred.
    void setCMassLocalPose(const Transform& pose) override
    {
        if (isValidPose(pose)) {
            cMassLocalPose = pose;
        }
    }

    void setMaxAngularVelocity(float maxAngularVelocity) override
    {
        if (std::isnan(maxAngularVelocity)) {
            return;
        }
        maxAngular = std::max(maxAngularVelocity, 0.0f);
        // A limit of 0 locks rotation entirely, also against contacts inside a step.
        core.body->setAngularFactor(maxAngular > 0.0f ? 1.0f : 0.0f);
        limitAngularVelocity();
    }

    void setAngularDamping(float damping) override
    {
        if (std::isnan(damping)) {
            return;
        }
        core.body->setDamping(core.body->getLinearDamping(), toBulletDamping(std::max(damping, 0.0f)));
    }

    float getMass() const override { return mass; }

    // Called by the scene around each simulate: the force of this simulate acts on
    // every substep of it, together with gravity, and is then gone.
    void beginStep()
    {
        btRigidBody& body = *core.body;
        body.clearForces();
        body.applyGravity();
        body.applyCentralForce(toBullet(pendingForce));
        pendingForce = glm::vec3(0.0f);
    }

    void endStep() { core.body->clearForces(); }

    void limitAngularVelocity()
    {
        btRigidBody& body = *core.body;
        const btVector3 w = body.getAngularVelocity();
        const btScalar length = w.length();
        if (length > maxAngular) {
            body.setAngularVelocity(maxAngular > 0.0f ? w * (maxAngular / length) : btVector3(0, 0, 0));
        }
    }

    BodyCore core;

private:
    void wake(bool autowake)
    {
        if (autowake) {
            core.body->activate(true);
        }
    }

    float mass;
    glm::vec3 pendingForce{0.0f};
    float maxAngular = defaultMaxAngularVelocity;
    Transform cMassLocalPose;
};

class SceneImpl : public Scene {
public:
    explicit SceneImpl(const SceneDesc& desc)
        : dispatcher(&configuration),
          world(&dispatcher, &broadphase, &solver, &configuration),
          gravity(desc.gravity),
          collideAllPairs(desc.collideAllPairs)
    {
        world.setGravity(toBullet(gravity));
        // Static boxes never move, so their bounds need no update every substep.
        world.setForceUpdateAllAabbs(false);
    }

    void addActor(RigidActor& actor) override
    {
        if (auto* dynamicActor = dynamic_cast<DynamicActor*>(&actor)) {
            if (add(dynamicActor->core)) {
                dynamics.push_back(dynamicActor);
            }
        } else if (auto* staticActor = dynamic_cast<StaticActor*>(&actor)) {
            add(staticActor->core);
        }
    }

    void simulate(float dt) override
    {
        for (DynamicActor* actor : dynamics) {
            actor->beginStep();
        }
        if (std::isfinite(dt) && dt > 0.0f) {
            const int substeps = std::clamp(static_cast<int>(std::ceil(dt / maxSubstep)), 1, maxSubstepsPerStep);
            const float substep = dt / static_cast<float>(substeps);
            for (int i = 0; i < substeps; ++i) {
                world.advance(substep);
                for (DynamicActor* actor : dynamics) {
                    actor->limitAngularVelocity();
                }
            }
        }
        for (DynamicActor* actor : dynamics) {
            actor->endStep();
        }
    }

    // The step runs to completion inside simulate, on the calling thread.
    bool fetchResults(bool) override { return true; }

    glm::vec3 getGravity() const override { return gravity; }

    void removeBody(btRigidBody& body) { world.removeRigidBody(&body); }
    void addBody(btRigidBody& body) { addToWorld(body); }

private:
    bool add(BodyCore& core)
    {
        if (core.scene) {
            return false;
        }
        core.scene = this;
        addToWorld(*core.body);
        return true;
    }

    void addToWorld(btRigidBody& body)
    {
        const bool isStatic = body.isStaticObject();
        const int group = isStatic ? btBroadphaseProxy::StaticFilter : btBroadphaseProxy::DefaultFilter;
        int mask = isStatic ? btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter
                            : btBroadphaseProxy::AllFilter;
        if (!collideAllPairs) {
            mask = 0;
        }
        world.addRigidBody(&body, group, mask);
    }

    // Bullet objects in construction order; the world goes first on destruction.
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    World world;
    glm::vec3 gravity;
    bool collideAllPairs;
    std::vector<DynamicActor*> dynamics;
};

void BodyCore::replaceShape(btCollisionShape* shape)
{
    // A body in a scene leaves it while its shape changes, so cached contacts are dropped.
    if (scene) {
        scene->removeBody(*body);
    }
    body->setCollisionShape(shape);
    if (scene) {
        scene->addBody(*body);
    }
}

class CpuDispatcherImpl : public CpuDispatcher {
public:
    explicit CpuDispatcherImpl(unsigned workers) : workers(workers) {}
    unsigned getWorkerCount() const override { return workers; }

private:
    unsigned workers;
};

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
        materials.push_back(std::make_unique<MaterialImpl>(staticFriction, dynamicFriction, restitution));
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

    // The inertia is the shape's own, about its centre.
    RigidDynamic* createDynamic(const Transform& pose, std::unique_ptr<btCollisionShape> shape, float mass,
                                float innerRadius, const Material& material, const Transform& shapeOffset)
    {
        btVector3 inertia(0, 0, 0);
        shape->calculateLocalInertia(mass, inertia);
        auto actor = std::make_unique<DynamicActor>(pose, mass);
        actor->core.attachShape(std::move(shape), toBullet(shapeOffset), material);
        actor->finish(inertia, innerRadius);
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

// Every foundation, physics object and dispatcher ever made stays reachable until the
// process ends; none is released.
struct Registry {
    std::vector<std::unique_ptr<FoundationImpl>> foundations;
    std::vector<std::unique_ptr<PhysicsImpl>> physics;
    std::vector<std::unique_ptr<CpuDispatcherImpl>> dispatchers;
};

Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

RigidDynamic* createValidDynamic(Physics& physics, const Transform& pose, std::unique_ptr<btCollisionShape> shape,
                                 float volume, float innerRadius, Material& material, float density,
                                 const Transform& shapeOffset)
{
    auto* owner = dynamic_cast<PhysicsImpl*>(&physics);
    const float mass = density * volume;
    if (!owner || !isPositive(mass)) {
        return nullptr;
    }
    return owner->createDynamic(pose, std::move(shape), mass, innerRadius, material, shapeOffset);
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

CpuDispatcher* defaultCpuDispatcherCreate(unsigned workerThreads)
{
    registry().dispatchers.push_back(std::make_unique<CpuDispatcherImpl>(workerThreads));
    return registry().dispatchers.back().get();
}

RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const BoxGeometry& geometry, Material& material,
                            float density, const Transform& shapeOffset)
{
    if (!isValidPose(pose) || !isValidPose(shapeOffset) || !isValidBox(geometry) || !isPositive(density)) {
        return nullptr;
    }
    const glm::vec3& h = geometry.halfExtents;
    return createValidDynamic(physics, pose, makeBoxShape(h), 8.0f * h.x * h.y * h.z, std::min({h.x, h.y, h.z}),
                              material, density, shapeOffset);
}

RigidDynamic* createDynamic(Physics& physics, const Transform& pose, const SphereGeometry& geometry,
                            Material& material, float density, const Transform& shapeOffset)
{
    const float r = geometry.radius;
    if (!isValidPose(pose) || !isValidPose(shapeOffset) || !isPositive(r) || !isPositive(density)) {
        return nullptr;
    }
    constexpr float pi = 3.14159265358979f;
    return createValidDynamic(physics, pose, std::make_unique<btSphereShape>(r), 4.0f / 3.0f * pi * r * r * r, r,
                              material, density, shapeOffset);
}

}  // namespace phys
