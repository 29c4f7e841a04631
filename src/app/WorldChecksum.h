#pragma once
// A checksum of the world state that decides how play goes on: the player's position, velocity and
// view; each statue's pose, velocity and whether it is awake; caught, dangerNear, fellOut, the
// flashlight, the pause and the walking mode. A journal keeps one per frame and a replay compares them.
// Each part has its own small hash, so a divergence can say what differed first.
#include <cstdint>

struct WorldChecksum {
    uint16_t playerPosition = 0;
    uint16_t playerVelocity = 0;
    uint16_t view = 0;  // yaw and pitch
    uint16_t statuePoses = 0;
    uint16_t statueVelocities = 0;
    uint16_t statuesAwake = 0;  // the chasing flags that the activators latch
    uint8_t flags = 0;          // one bit each, see checksumFlags

    bool operator==(const WorldChecksum& other) const
    {
        return playerPosition == other.playerPosition && playerVelocity == other.playerVelocity &&
               view == other.view && statuePoses == other.statuePoses &&
               statueVelocities == other.statueVelocities && statuesAwake == other.statuesAwake &&
               flags == other.flags;
    }
    bool operator!=(const WorldChecksum& other) const { return !(*this == other); }
};

namespace checksumFlags {
constexpr uint8_t caught = 1;
constexpr uint8_t dangerNear = 2;
constexpr uint8_t fellOut = 4;
constexpr uint8_t flashlightOn = 8;
constexpr uint8_t paused = 16;
constexpr uint8_t walkMode = 32;
}  // namespace checksumFlags

// The checksum of the world as it is now; parts that do not exist yet (no player, no statues) hash
// as nothing.
WorldChecksum worldChecksum();

// What differs first between a recorded and a replayed checksum, in words ("the player's
// position", "caught"); nullptr when they agree.
const char* checksumDifference(const WorldChecksum& recorded, const WorldChecksum& replayed);
