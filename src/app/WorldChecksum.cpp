#include "app/WorldChecksum.h"

#include <cstring>

#include "assets/Mesh.h"
#include "core/GameState.h"
#include "physics/Engine.h"
#include "physics/Player.h"
#include "render/Light.h"
#include "scene/Node.h"
#include "scene/Registries.h"

namespace {

// FNV-1a over the exact bits: a replay that is off by one rounding step differs.
class Hash {
public:
    void add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value ^= bytes[i];
            value *= 16777619u;
        }
    }
    void add(float f) { add(&f, sizeof f); }
    void add(const glm::vec3& v) { add(&v, sizeof v); }
    void add(const glm::quat& q) { add(&q, sizeof q); }
    uint16_t folded() const { return static_cast<uint16_t>(value ^ (value >> 16)); }

private:
    uint32_t value = 2166136261u;
};

}  // namespace

WorldChecksum worldChecksum()
{
    Hash position, velocity, view, poses, velocities, awake;
    if (player && player->body) {
        position.add(player->body->getGlobalPose().p);
        velocity.add(player->body->getLinearVelocity());
    }
    view.add(yaw);
    view.add(pitch);
    for (const PhysicsObject* statue : pursuers) {
        const phys::RigidDynamic* body = statue->mesh ? statue->mesh->physicsActor : nullptr;
        if (body) {
            const phys::Transform pose = body->getGlobalPose();
            poses.add(pose.p);
            poses.add(pose.q);
            velocities.add(body->getLinearVelocity());
            velocities.add(body->getAngularVelocity());
        }
        awake.add(&statue->chasing, sizeof statue->chasing);
    }

    WorldChecksum sum;
    sum.playerPosition = position.folded();
    sum.playerVelocity = velocity.folded();
    sum.view = view.folded();
    sum.statuePoses = poses.folded();
    sum.statueVelocities = velocities.folded();
    sum.statuesAwake = awake.folded();
    const bool fell = player && player->fellOut;
    sum.flags = (caught ? checksumFlags::caught : 0) | (dangerNear ? checksumFlags::dangerNear : 0) |
                (fell ? checksumFlags::fellOut : 0) | (flashlightOn ? checksumFlags::flashlightOn : 0) |
                (paused ? checksumFlags::paused : 0) | (walkMode ? checksumFlags::walkMode : 0);
    return sum;
}

const char* checksumDifference(const WorldChecksum& recorded, const WorldChecksum& replayed)
{
    struct Part {
        uint16_t WorldChecksum::*field;
        const char* what;
    };
    static const Part parts[] = {
        {&WorldChecksum::playerPosition, "the player's position"},
        {&WorldChecksum::playerVelocity, "the player's velocity"},
        {&WorldChecksum::view, "the player's view"},
        {&WorldChecksum::statuePoses, "a statue's pose"},
        {&WorldChecksum::statueVelocities, "a statue's velocity"},
        {&WorldChecksum::statuesAwake, "which statues are awake"},
    };
    static const char* const flagNames[] = {"caught", "dangerNear", "fellOut", "the flashlight",
                                            "paused", "walkMode"};
    for (const Part& part : parts)
        if (recorded.*part.field != replayed.*part.field)
            return part.what;
    for (int bit = 0; bit < 6; ++bit)
        if ((recorded.flags ^ replayed.flags) & (1u << bit))
            return flagNames[bit];
    return nullptr;
}
