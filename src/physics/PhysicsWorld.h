#pragma once
// The one simulation scene, its start-up, and the factories for every rigid body.
#include "physics/Engine.h"

// Engine objects, created once by the PhysicsWorld constructor and never released.
extern phys::Foundation* foundation;
extern phys::Physics* physics;
extern phys::RigidDynamic* vehicleBox;

class PhysicsWorld {
public:
    phys::Scene* scene = nullptr;

    PhysicsWorld();
    // One simulation step of dt seconds; returns when the step is complete.
    void step(double dt);

    void createStaticBox(float x, float y, float z, float hx, float hy, float hz);
    phys::RigidDynamic* createDynamicBox(float x, float y, float z, float hx, float hy, float hz);
    phys::RigidDynamic* createCrateBody(float x, float y, float z, float hx, float hy, float hz);
    phys::RigidDynamic* createPlayerBody(float radius, float x, float y, float z);
};
