// One physics step of a frame with the full game's body count: the hall's static boxes,
// twenty statues (half of them chasing), three crates, the vehicle box and the player.
#include "physics/PhysicsWorld.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr double frame = 1.0 / 60.0;

struct Hall {
    PhysicsWorld world;
    std::vector<phys::RigidDynamic*> statues;
    std::vector<phys::RigidDynamic*> crates;
    phys::RigidDynamic* player = nullptr;
    long frameCount = 0;

    Hall()
    {
        // Floor: 8 × 6 tiles of 10 × 10 units, top at y = 0.
        for (int i = 0; i < 8; ++i) {
            for (int k = 0; k < 6; ++k) {
                world.createStaticBox(-35.0f + 10.0f * i, -0.5f, -25.0f + 10.0f * k, 5.0f, 0.5f, 5.0f);
            }
        }
        // Walls: four segments on each long side, two on each short side.
        for (int i = 0; i < 4; ++i) {
            world.createStaticBox(-30.0f + 20.0f * i, 5.0f, 30.5f, 10.0f, 5.0f, 0.5f);
            world.createStaticBox(-30.0f + 20.0f * i, 5.0f, -30.5f, 10.0f, 5.0f, 0.5f);
        }
        for (int k = 0; k < 2; ++k) {
            world.createStaticBox(40.5f, 5.0f, -15.0f + 30.0f * k, 0.5f, 5.0f, 15.0f);
            world.createStaticBox(-40.5f, 5.0f, -15.0f + 30.0f * k, 0.5f, 5.0f, 15.0f);
        }
        for (int i = 0; i < 20; ++i) {
            const float x = -30.0f + 15.0f * static_cast<float>(i % 5);
            const float z = -20.0f + 12.0f * static_cast<float>(i / 5);
            statues.push_back(world.createDynamicBox(x, 1.0f, z, 0.5f, 1.5f, 0.5f));
        }
        crates.push_back(world.createCrateBody(-10.0f, 1.0f, 5.0f, 1.0f, 1.0f, 1.0f));
        crates.push_back(world.createCrateBody(-12.5f, 1.0f, 5.0f, 1.0f, 1.0f, 1.0f));
        crates.push_back(world.createCrateBody(-10.0f, 3.0f, 5.0f, 1.0f, 1.0f, 1.0f));
        player = world.createPlayerBody(1.0f, 1.0f, 1.0f, 1.0f);
        for (int i = 0; i < 120; ++i) {
            nextFrame();
        }
    }

    // What the game does to the bodies in one frame, then the step.
    void nextFrame()
    {
        const float t = static_cast<float>(frameCount) * static_cast<float>(frame);
        const glm::vec3 v = player->getLinearVelocity();
        player->setLinearVelocity(glm::vec3(3.0f * std::cos(0.3f * t), v.y, 3.0f * std::sin(0.3f * t)), true);

        const glm::vec3 target = player->getGlobalPose().p;
        const bool lookedAt = frameCount % 90 < 20;
        for (std::size_t i = 0; i < statues.size(); i += 2) {
            phys::RigidDynamic* statue = statues[i];
            statue->setAngularVelocity(glm::vec3(0.0f), true);
            if (lookedAt) {
                statue->setLinearVelocity(glm::vec3(0.0f), true);
            } else {
                const glm::vec3 p = statue->getGlobalPose().p;
                statue->addForce(glm::vec3(target.x - p.x, 0.0f, target.z - p.z), phys::ForceMode::eFORCE, true);
            }
        }
        if (frameCount % 240 < 60) {
            vehicleBox->addForce(glm::vec3(0.0f, 0.0f, frameCount % 480 < 240 ? -100.0f : 100.0f),
                                 phys::ForceMode::eFORCE, true);
        }
        world.step(frame);
        ++frameCount;
    }
};

void physicsStep(benchmark::State& state)
{
    Hall hall;
    for (auto _ : state) {
        hall.nextFrame();
    }
    benchmark::DoNotOptimize(hall.player->getGlobalPose());
}
BENCHMARK(physicsStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
