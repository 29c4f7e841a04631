#pragma once
// Sound files as the game reads them: anything libsndfile decodes except MPEG audio, as long as it
// is mono (OpenAL places only mono sounds in the world), holds at least one sample and at most
// maxSoundSeconds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int maxSoundSeconds = 30;

struct SoundSamples {
    std::vector<int16_t> samples;
    int rate = 0;
};

// Decodes a whole file held in memory. On failure returns false and says why in `error`.
bool decodeSound(const unsigned char* bytes, size_t size, SoundSamples& out, std::string& error);
// Reads and decodes a file; "cannot be opened" when it is missing or unreadable.
bool readSoundFile(const char* path, SoundSamples& out, std::string& error);
