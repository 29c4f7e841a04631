#pragma once
// The game's sounds, synthesised from seeded noise, oscillators, filters and envelopes; each is mono
// 16-bit PCM at soundRate. Loops end where they begin, so they repeat without a click.
#include <cstdint>
#include <string>
#include <vector>

constexpr int soundRate = 22050;

struct SoundClip {
    std::string name;  // file name without ".wav"
    std::vector<int16_t> samples;
};

// Every sound the game plays, in a fixed order.
std::vector<SoundClip> buildSounds();
// A RIFF WAVE file, 16-bit PCM, mono, soundRate. False when it cannot be written.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples);
