#pragma once
// Inside the engine layer only: the scene, a Bullet world advanced in equal substeps of our own.
#include <vector>

#include "physics/EngineActors.h"

namespace phys {

// Bullet's own stepping either takes one step of any length or carries left-over time into the
// next call and interpolates; this world takes exactly the substeps it is given.
class World : public btDiscreteDynamicsWorld {
public:
    using btDiscreteDynamicsWorld::btDiscreteDynamicsWorld;
    void advance(btScalar dt) { internalSingleStepSimulation(dt); }
};

class SceneImpl : public Scene {
public:
    explicit SceneImpl(const SceneDesc& desc);

    void addActor(RigidActor& actor) override;
    // Substeps no longer than maxSubstep that cover exactly dt; a dt that is not finite and
    // positive moves nothing but still uses up the forces.
    void simulate(float dt) override;
    // The step runs to completion inside simulate, on the calling thread.
    bool fetchResults(bool) override { return true; }
    glm::vec3 getGravity() const override { return gravity; }

private:
    bool add(BodyCore& core);

    // Bullet objects in construction order; the world goes first on destruction.
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher;
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    World world;
    glm::vec3 gravity;
    std::vector<DynamicActor*> dynamics;
};

}  // namespace phys
