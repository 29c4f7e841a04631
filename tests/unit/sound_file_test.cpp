// The game's sound files and the volume setting: every damaged file is refused with a reason and
// nothing crashes; the volume is read like the other keys and refused outside 0 to 100.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TempDir.h"
#include "app/Config.h"
#include "sound/Sound.h"
#include "sound/SoundFile.h"

namespace {

void put(std::string& s, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}

// A PCM RIFF WAVE file of `frames` frames of a ramp.
std::string wav(int channels, int rate, int bits, int frames)
{
    const uint32_t data = static_cast<uint32_t>(frames * channels * bits / 8);
    std::string s = "RIFF";
    put(s, 36 + data, 4);
    s += "WAVEfmt ";
    put(s, 16, 4);
    put(s, 1, 2);
    put(s, channels, 2);
    put(s, rate, 4);
    put(s, rate * channels * bits / 8, 4);
    put(s, channels * bits / 8, 2);
    put(s, bits, 2);
    s += "data";
    put(s, data, 4);
    for (uint32_t i = 0; i < data; ++i) s += static_cast<char>(i * 7);
    return s;
}

bool decode(const std::string& bytes, SoundSamples& out, std::string& error)
{
    return decodeSound(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), out, error);
}

}  // namespace

TEST(SoundFile, DamagedFilesAreRefusedWithTheirReason)
{
    const std::string good = wav(1, 22050, 16, 1000);
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;  // empty: any reason from the decoder
    } cases[] = {
        {"empty", "", ""},
        {"garbage", std::string(300, 'x'), ""},
        {"header cut inside", good.substr(0, 30), ""},
        {"stereo", wav(2, 22050, 16, 100), "is not mono"},
        {"no samples", wav(1, 22050, 16, 0), "holds no sound"},
        {"absurd rate", wav(1, 3, 16, 100), "has an unusable sample rate"},
        {"too long", wav(1, 8000, 8, 8000 * (maxSoundSeconds + 1)), "is too long"},
    };
    for (const auto& c : cases) {
        SoundSamples out;
        std::string error;
        EXPECT_FALSE(decode(c.bytes, out, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        if (*c.reason) {
            EXPECT_EQ(error, c.reason) << c.what;
        }
    }
}

TEST(SoundFile, WholeAndCutShortFilesGiveTheirSamples)
{
    const struct {
        std::string bytes;
        size_t frames;
    } cases[] = {
        {wav(1, 22050, 16, 1000), 1000},
        {wav(1, 44100, 8, 500), 500},                       // 8-bit is widened
        {wav(1, 22050, 16, 1000).substr(0, 44 + 600), 300},  // data cut short: what is there
    };
    for (const auto& c : cases) {
        SoundSamples out;
        std::string error;
        ASSERT_TRUE(decode(c.bytes, out, error)) << error;
        EXPECT_EQ(out.samples.size(), c.frames);
    }
    SoundSamples out;
    std::string error;
    EXPECT_FALSE(readSoundFile("/nonexistent/sound.wav", out, error));
    EXPECT_EQ(error, "cannot be opened");
}

TEST(SoundSettings, VolumeIsReadAndRefusedOutsideItsRange)
{
    const struct {
        const char* file;
        int volume;
        const char* printed;  // a line the reader must print, or ""
    } cases[] = {
        {"WIDTH=640\n", 80, ""},
        {"VOLUME=0\n", 0, ""},
        {"VOLUME=100\n", 100, ""},
        {"VOLUME=0x20\n", 32, ""},
        {"VOLUME=101\n", 80, "config.ini: VOLUME=101 is out of range, ignored\n"},
        {"VOLUME=40\nVOLUME=-1\n", 40, "config.ini: VOLUME=-1 is out of range, ignored\n"},
        {"volume=10\nVOLUME=loud\n", 80, ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("config.ini", c.file);
        testing::internal::CaptureStdout();
        readConfig();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(volume, c.volume) << c.file;
        EXPECT_NE(out.find(*c.printed ? c.printed : "FULLSCREEN=false\n"), std::string::npos) << c.file << out;
        EXPECT_EQ(out.find("VOLUME"), out.rfind("VOLUME")) << "the summary stays four lines\n" << out;
        EXPECT_EQ(out.find("VOLUME") == std::string::npos, *c.printed == 0) << out;
    }
}

TEST(SoundSettings, VolumeZeroOpensNoDevice)
{
    testing::internal::CaptureStdout();
    EXPECT_FALSE(startSoundLoopback(0, 24000));
    soundUpdate(1.0 / 60.0, nullptr, nullptr);
    stopSound();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Sound: volume 0, no audio device opened\n");
}
