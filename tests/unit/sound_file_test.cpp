// Sound files: damaged ones refused with a reason, whole and cut-short ones read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sound/SoundFile.h"

namespace {

void put(std::string& s, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}

// A RIFF WAVE file of `frames` frames of a ramp, PCM unless another format tag is given.
std::string wav(int channels, int rate, int bits, int frames, uint32_t tag = 1)
{
    const uint32_t data = static_cast<uint32_t>(frames * channels * bits / 8);
    std::string s = "RIFF";
    put(s, 36 + data, 4), s += "WAVEfmt ", put(s, 16, 4), put(s, tag, 2), put(s, channels, 2), put(s, rate, 4);
    put(s, rate * channels * bits / 8, 4), put(s, channels * bits / 8, 2), put(s, bits, 2), s += "data";
    put(s, data, 4);
    for (uint32_t i = 0; i < data; ++i) s += static_cast<char>(i * 7);
    return s;
}

}  // namespace

TEST(SoundFile, DamagedFilesAreRefusedWithTheirReasonAndWholeOnesRead)
{
    const std::string good = wav(1, 22050, 16, 1000), layer3 = wav(1, 22050, 16, 1000, 0x55);
    const char* mpeg = "is MPEG audio, which the game does not read";
    const struct {
        std::string bytes;
        const char* reason;  // "": any reason; nullptr: read, with `frames` frames
        size_t frames = 0;
    } cases[] = {
        {"", ""}, {std::string(300, 'x'), ""}, {good.substr(0, 30), ""},
        {wav(2, 22050, 16, 100), "is not mono"}, {wav(1, 22050, 16, 0), "holds no sound"},
        {wav(1, 3, 16, 100), "has an unusable sample rate"}, {wav(1, 192001, 8, 100), "has an unusable sample rate"},
        {wav(1, 8000, 8, 8000 * (maxSoundSeconds + 1)), "is too long"},
        {good, nullptr, 1000}, {wav(1, 44100, 8, 500), nullptr, 500},  // 8-bit is widened
        {good.substr(0, 44 + 600), nullptr, 300},  // data cut short: what is there
        {"ID3\x04" + good, mpeg}, {"\xff\xe3\x90\x64" + std::string(600, '\0'), mpeg},  // the sync of MPEG 2.5 too
        {std::string("RIFX\0\0\0\x24WAVEfmt \0\0\0\x10\0\x55", 22) + std::string(30, '\0'), mpeg},  // big-endian RIFX
        {layer3, mpeg}, {layer3.substr(0, 12) + std::string("JUNK\x02\0\0\0ab", 10) + layer3.substr(12), mpeg},
    };
    for (const auto& c : cases) {
        SoundSamples out;
        std::string error;
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
        const bool read = decodeSound(bytes, c.bytes.size(), out, error);
        EXPECT_TRUE(c.reason ? !read && (*c.reason ? error == c.reason : error != "") : out.samples.size() == c.frames)
            << c.bytes.size() << " bytes: " << error << ", " << out.samples.size() << " frames";
    }
}
