// libFuzzer target for the sound file reader: whatever is accepted is a mono sound within the
// game's limits, every sample readable; whatever is refused says why.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sound/SoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundSamples sound;
    std::string error;
    if (!decodeSound(data, size, sound, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (sound.samples.empty() || sound.rate < 8000 ||
        sound.samples.size() > static_cast<size_t>(sound.rate) * maxSoundSeconds)
        std::abort();
    int checksum = 0;
    for (int16_t v : sound.samples)
        checksum += v;
    return checksum & 0;
}
