#pragma once
// The level: every placement the world assembly makes, as one table. The game, the preview, the
// tests and the benchmarks all read it from here. Each placement is a pure translation, y up.

namespace level {

struct Spot {
    float x, y, z;
};

// The player's sphere: its centre at the start, and its radius.
constexpr Spot playerStart = {1.0f, 1.0f, 1.0f};
constexpr float playerRadius = 1.0f;

// The trigger points, in the order of the activator list.
constexpr Spot activators[] = {{0.0f, 0.0f, 22.0f}, {0.0f, 0.0f, 105.0f}, {0.0f, 0.0f, 230.0f}};
constexpr int activatorCount = 3;

// Every statue stands at this height.
constexpr float statueHeight = 0.3f;

// The statues in the order they are made and pursue. `activator` is the index of the activator
// that wakes the statue, -1 for none; only the first statue chases from the start.
struct StatueSpot {
    float x, z;
    int activator;
    bool chasesFromStart;
};
constexpr StatueSpot statues[] = {
    {0.0f, 21.0f, -1, true}, {0.0f, 187.0f, -1, false},
    {-8.0f, 100.0f, 0, false}, {8.0f, 100.0f, 0, false}, {-4.0f, 100.0f, 0, false},
    {4.0f, 100.0f, 0, false}, {-2.0f, 100.0f, 0, false}, {2.0f, 100.0f, 0, false},
    {-8.0f, 95.0f, 0, false}, {8.0f, 95.0f, 0, false}, {-4.0f, 95.0f, 0, false},
    {4.0f, 95.0f, 0, false}, {-2.0f, 95.0f, 0, false}, {2.0f, 95.0f, 0, false},
    {-26.0f, 269.0f, 2, false}, {-24.0f, 269.0f, 2, false}, {-22.0f, 269.0f, 2, false},
    {-26.0f, 267.0f, 2, false}, {-24.0f, 267.0f, 2, false}, {-22.0f, 267.0f, 2, false},
};
constexpr int statueCount = 20;

// The harvester (its rotor is its child, at its origin), the cow, and the crates in the order the
// frame update steps them.
constexpr Spot harvester = {0.0f, 0.0f, -35.0f};
constexpr Spot cow = {1.4f, 2.0f, 62.0f};
constexpr Spot crates[] = {{0.0f, 0.3f, 23.0f}, {5.0f, 0.3f, 187.0f}, {-25.0f, 0.3f, 322.0f}};
constexpr int crateCount = 3;

static_assert(sizeof activators / sizeof activators[0] == activatorCount, "three activators");
static_assert(sizeof statues / sizeof statues[0] == statueCount, "twenty statues");
static_assert(sizeof crates / sizeof crates[0] == crateCount, "three crates");

}  // namespace level
