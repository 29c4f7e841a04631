#include "physics/EngineScene.h"

#include <algorithm>
#include <cmath>

namespace phys {

namespace {

// Bullet's default pools hold 4096 contacts and 4096 pair algorithms, 4 MB written at start-up; the
// hall's busiest moment has a few dozen touching pairs. Past the pools Bullet allocates one at a time.
btDefaultCollisionConstructionInfo poolSizes()
{
    btDefaultCollisionConstructionInfo info;
    info.m_defaultMaxPersistentManifoldPoolSize = 256;
    info.m_defaultMaxCollisionAlgorithmPoolSize = 256;
    return info;
}

}  // namespace

SceneImpl::SceneImpl(const SceneDesc& desc)
    : configuration(poolSizes()), dispatcher(&configuration), world(&dispatcher, &broadphase, &solver, &configuration),
      gravity(desc.gravity)
{
    world.setGravity(toBullet(gravity));
    // Static boxes never move, so their bounds need no update every substep.
    world.setForceUpdateAllAabbs(false);
}

void SceneImpl::addActor(RigidActor& actor)
{
    if (auto* dynamicActor = dynamic_cast<DynamicActor*>(&actor)) {
        if (add(dynamicActor->core)) {
            dynamics.push_back(dynamicActor);
        }
    } else if (auto* staticActor = dynamic_cast<StaticActor*>(&actor)) {
        add(staticActor->core);
    }
}

void SceneImpl::simulate(float dt)
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

// Every pair collides except two static bodies.
bool SceneImpl::add(BodyCore& core)
{
    if (core.inScene) {
        return false;
    }
    core.inScene = true;
    btRigidBody& body = *core.body;
    const bool isStatic = body.isStaticObject();
    const int group = isStatic ? btBroadphaseProxy::StaticFilter : btBroadphaseProxy::DefaultFilter;
    const int mask = isStatic ? btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter
                              : btBroadphaseProxy::AllFilter;
    world.addRigidBody(&body, group, mask);
    return true;
}

}  // namespace phys
