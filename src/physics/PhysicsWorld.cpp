#include "physics/PhysicsWorld.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/Console.h"

phys::Foundation* foundation = nullptr;
phys::Physics* physics = nullptr;
phys::RigidDynamic* vehicleBox = nullptr;

namespace {

// Nothing of the physics engine is ever released, its worlds included: this list, itself never
// destroyed, keeps every world reachable until the process ends, also after its loader is gone.
std::vector<PhysicsWorld*>& everyWorld = *new std::vector<PhysicsWorld*>();

bool allFinite(float x, float y, float z)
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool isPositive(float v)
{
    return std::isfinite(v) && v > 0.0f;
}

// Statues and crates are cubes of half size hx that never turn, so where their centre of mass
// lies makes no difference to their motion: it stays at the centre.
phys::RigidDynamic* createUprightCube(phys::Scene& scene, phys::Material& material, float x, float y, float z,
                                      float hx)
{
    phys::RigidDynamic* body = phys::createDynamic(*physics, phys::Transform(glm::vec3(x, y, z)),
                                                   phys::BoxGeometry(hx, hx, hx), material, 1.0f);
    if (!body) {
        return nullptr;
    }
    body->setMaxAngularVelocity(0.0f);
    body->setAngularDamping(1000000.0f);
    scene.addActor(*body);
    return body;
}

// The cube of a statue or crate is sized by hx alone; hy and hz are not used, so a mesh flat in
// z still gets its body. Bad numbers give no body.
bool isValidUprightCube(float x, float y, float z, float hx, float hy, float hz)
{
    return allFinite(x, y, z) && isPositive(hx) && std::isfinite(hy) && std::isfinite(hz);
}

}  // namespace

PhysicsWorld::PhysicsWorld()
{
    everyWorld.push_back(this);
    scene = nullptr;

    foundation = phys::createFoundation();
    if (!foundation) {
        fatalError(physicsFailure, "PxCreateFoundation failed!");
    }

    physics = phys::createPhysics(*foundation, phys::TolerancesScale());
    if (!physics) {
        fatalError(physicsFailure, "Error creating PhysX3 device, Exiting...");
    }

    phys::SceneDesc sceneDesc(physics->getTolerancesScale());
    sceneDesc.gravity = glm::vec3(0.0f, -9.8f, 0.0f);
    scene = physics->createScene(sceneDesc);
    if (!scene) {
        fatalError(physicsFailure, "createScene failed!");
    }

    phys::Material* vehicleMaterial = physics->createMaterial(0.1f, 0.1f, 2.5f);
    vehicleBox = phys::createDynamic(*physics, phys::Transform(glm::vec3(3.0f, 4.0f, 16.0f)),
                                     phys::BoxGeometry(1.0f, 1.0f, 1.0f), *vehicleMaterial, 1.0f);
    scene->addActor(*vehicleBox);

    if (!physics->hasVisualDebugger()) {
        notice("Warning: PhysX Visual Debugger not found running!");
    }
}

void PhysicsWorld::step(double dt)
{
    scene->simulate(static_cast<float>(dt));
    scene->fetchResults(true);
}

void PhysicsWorld::createStaticBox(float x, float y, float z, float hx, float hy, float hz)
{
    if (!allFinite(x, y, z) || !isPositive(hx) || !isPositive(hy) || !isPositive(hz)) {
        return;
    }
    phys::Material* material = physics->createMaterial(0.005f, 0.002f, 0.0001f);
    phys::RigidStatic* box = physics->createRigidStatic(phys::Transform(glm::vec3(x, y, z)));
    if (!box || !box->createShape(phys::BoxGeometry(hx, hy, hz), *material)) {
        return;
    }
    scene->addActor(*box);
}

phys::RigidDynamic* PhysicsWorld::createDynamicBox(float x, float y, float z, float hx, float hy, float hz)
{
    if (!isValidUprightCube(x, y, z, hx, hy, hz)) {
        return nullptr;
    }
    return createUprightCube(*scene, *physics->createMaterial(0.001f, 0.001f, 0.001f), x, y, z, hx);
}

phys::RigidDynamic* PhysicsWorld::createCrateBody(float x, float y, float z, float hx, float hy, float hz)
{
    if (!isValidUprightCube(x, y, z, hx, hy, hz)) {
        return nullptr;
    }
    return createUprightCube(*scene, *physics->createMaterial(0.1f, 0.1f, 0.001f), x, y, z, hx);
}

phys::RigidDynamic* PhysicsWorld::createPlayerBody(float radius, float x, float y, float z)
{
    if (!allFinite(x, y, z) || !isPositive(radius)) {
        return nullptr;
    }
    phys::Material* material = physics->createMaterial(0.001f, 0.001f, 0.001f);
    phys::RigidDynamic* body = phys::createDynamic(*physics, phys::Transform(glm::vec3(x, y, z)),
                                                   phys::SphereGeometry(radius), *material, 1.0f);
    if (!body) {
        return nullptr;
    }
    scene->addActor(*body);
    return body;
}
