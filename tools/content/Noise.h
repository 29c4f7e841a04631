#pragma once
// Deterministic noise for procedural textures; every function is a pure function of its inputs and seed.
#include <cstdint>

uint32_t hashInts(int x, int y, uint32_t seed);
// Uniform in [0, 1).
float hashUnit(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1] that repeats every `period` lattice cells on both axes.
float tiledNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves of tiledNoise, normalised to [0, 1]; the base period doubles with each octave.
float tiledFractal(float x, float y, int period, int octaves, uint32_t seed);

// A small deterministic random sequence for geometry jitter.
class Random {
public:
    explicit Random(uint32_t seed) : state(seed ? seed : 1u) {}
    float unit();
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state;
};
