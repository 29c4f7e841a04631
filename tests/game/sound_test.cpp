// What a player hears: the audio library's loopback device mixes the game's sound into memory at
// the fixed test clock, and each check compares loudness per ear over a stretch of play.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "WorldHarness.h"
#include "app/OptionsPage.h"
#include "core/Captions.h"
#include "core/FramePhase.h"
#include "sound/Sound.h"

namespace {

constexpr float pi = 3.14159265f;
constexpr int mixRate = 24000;
constexpr int framesPerPass = mixRate / 60;

// RMS per ear over a stretch, and of both ears over its loudest 1/12 s; the passes where a sound
// starts (louder by 2.5 times than the pass before).
struct Loudness {
    double left = 0.0, right = 0.0, peak = 0.0;
    std::vector<int> onsets;
    double both() const { return (left + right) / 2.0; }
};

float forcedSpeed = 0.0f;

}  // namespace

class SoundTest : public WorldTest {
protected:
    SoundTest() { windowWidth = 200, windowHeight = 150; }
    void SetUp() override
    {
        WorldTest::SetUp();
        if (!IsSkipped() && startInSetUp) {
            ASSERT_TRUE(startSoundLoopback(80, mixRate));
        }
    }
    void TearDown() override { stopSound(); }

    Loudness listen(int count)
    {
        std::vector<int16_t> mix(2 * framesPerPass);
        double left = 0.0, right = 0.0, chunk = 0.0, pass = 0.0, previous = 1e12;
        Loudness heard;
        for (int i = 1; i <= count; ++i) {
            frame();
            renderSound(mix.data(), framesPerPass);
            for (int k = 0; k < framesPerPass; ++k) {
                const double l = double(mix[2 * k]) * mix[2 * k], r = double(mix[2 * k + 1]) * mix[2 * k + 1];
                left += l;
                right += r;
                pass += (l + r) / 2.0;
            }
            if (pass > 2.5 * 2.5 * previous)
                heard.onsets.push_back(i);
            chunk += pass, previous = pass, pass = 0.0;
            if (i % 5 == 0) {
                heard.peak = std::max(heard.peak, std::sqrt(chunk / (5.0 * framesPerPass)));
                chunk = 0.0;
            }
        }
        const double n = double(count) * framesPerPass;
        heard.left = std::sqrt(left / n);
        heard.right = std::sqrt(right / n);
        return heard;
    }

    bool startInSetUp = true;
};

TEST_F(SoundTest, AStatueMovingBehindIsHeardFromItsSideEvenPausedAndSilentOnceSeen)
{
    play();
    const Loudness watched = listen(20);  // the statue ahead stands still
    turn(0.75f * pi);                     // now it is behind, to the right
    listen(5);
    const Loudness right = listen(20);
    EXPECT_GT(right.both(), 2.0 * watched.both()) << "a moving statue stands out over the hall";
    EXPECT_GT(right.right, 1.5 * right.left);

    input.tap(GLFW_KEY_P);
    listen(2);
    EXPECT_GT(listen(20).both(), 2.0 * watched.both()) << "paused, a statue closing in is still heard";
    input.tap(GLFW_KEY_P);
    listen(2);
    EXPECT_GT(listen(10).both(), 2.0 * watched.both()) << "the statue grinds on after the pause";
    framePhaseHook = [](FramePhase phase, bool begins) {  // just before the sound hears the world
        if (phase == FramePhase::sound && begins)
            pursuers[0]->mesh->physicsActor->setLinearVelocity(glm::vec3(forcedSpeed, 0.0f, 0.0f), true);
    };
    for (float speed : {0.28f, 0.32f}) {  // it grinds from 0.3 a second on
        forcedSpeed = speed;
        listen(3);
        EXPECT_EQ(listen(10).both() > 2.0 * watched.both(), speed > 0.3f) << speed;
    }
    framePhaseHook = nullptr;

    turn(-0.75f * pi);  // seen again, it freezes and falls silent
    listen(5);
    EXPECT_LT(listen(20).both(), 1.3 * watched.both());

    turn(-0.85f * pi);  // behind, 27 degrees to the left, it moves and its caption says from where
    listen(5);
    EXPECT_STREQ(shownCaptions[captionGrind].where, "behind left");
    EXPECT_EQ(captionAlpha(shownCaptions[captionGrind]), 1.0f);
    turn(0.85f * pi);  // seen, it freezes, and its caption goes
    listen(70);
    EXPECT_EQ(captionAlpha(shownCaptions[captionGrind]), 0.0f);
    EXPECT_FALSE(caught);
}

TEST_F(SoundTest, FootstepsOnlyWhileWalkingOnTheGroundAndAThudOnLanding)
{
    // Backwards, away from the harvester, with the statue in view: nothing else grows louder.
    play();
    const double standing = listen(20).peak;
    input.press(GLFW_KEY_S);
    EXPECT_GT(listen(5).peak, 2.0 * standing) << "the first step at once";
    const Loudness walking = listen(100);
    ASSERT_GE(walking.onsets.size(), 3u);  // then one each 1.5 walked at 3 a second
    EXPECT_NEAR(walking.onsets.back() - walking.onsets[0], 30.0 * (walking.onsets.size() - 1), 2.0);

    input.tap(GLFW_KEY_SPACE);
    listen(5);
    EXPECT_LT(listen(50).peak, 1.3 * standing) << "no steps in the air";  // the jump lasts 73 passes
    EXPECT_GT(listen(30).peak, 2.0 * standing) << "a thud on landing";
    input.release(GLFW_KEY_S);

    input.tap(GLFW_KEY_SPACE);
    listen(60);  // falling, over 3 per second
    input.tap(GLFW_KEY_P);
    EXPECT_GT(listen(40).peak, 2.0 * standing) << "the fall ends during the pause, and is heard";
    input.tap(GLFW_KEY_P);
    EXPECT_LT(listen(30).peak, 1.3 * standing) << "and not again after it";

    teleport(-11.0f, 1.5f, 1.0f);  // half a unit up, landing at 3.1 a second
    EXPECT_GT(listen(40).peak, 2.0 * standing) << "a thud even after a short fall";
    teleport(-11.0f, 1.0f, 1.0f);  // against the wall on the left
    input.press(GLFW_KEY_D);
    listen(10);
    EXPECT_LT(listen(40).peak, 1.3 * standing) << "no steps while walking into a wall";
    input.release(GLFW_KEY_D);

    input.tap(GLFW_KEY_R);  // flying
    listen(5);
    input.press(GLFW_KEY_S);
    EXPECT_LT(listen(40).peak, 1.3 * standing) << "no steps while flying";
}

TEST_F(SoundTest, AHeartbeatOnlyWhileAStatueIsNear)
{
    play();
    const double calm = listen(20).both();
    teleport(-1.8f, 1.0f, 18.5f);  // beside the watched statue, within its near radius but not touching
    listen(2);
    ASSERT_TRUE(dangerNear);
    const Loudness beats = listen(300);  // two thumps a beat; a beat each 0.95 s, 0.5 s after 4 s
    EXPECT_GT(beats.both(), 1.5 * calm);
    ASSERT_GE(beats.onsets.size(), 8u);
    EXPECT_NEAR(beats.onsets[3] - beats.onsets[1], 51, 2) << "the heart quickens as the danger lasts";
    EXPECT_NEAR(beats.onsets.end()[-1] - beats.onsets.end()[-3], 30, 2);
    input.tap(GLFW_KEY_P);  // paused, the heart waits for the game
    EXPECT_LT(listen(30).both(), 1.2 * calm);
    input.tap(GLFW_KEY_P);
    input.tap(GLFW_KEY_R);  // flying, so that the moves make no steps
    double flickering = 0.0;  // in and out of range every frame: the beat keeps its pace
    for (int i = 0; i < 60; ++i) {
        teleport(i % 2 ? 1.0f : -1.8f, 1.0f, i % 2 ? 1.0f : 18.5f);
        flickering += listen(1).both() / 60.0;
    }
    EXPECT_LT(flickering, beats.both());
    teleport(1.0f, 1.0f, 1.0f);
    listen(20);
    EXPECT_FALSE(dangerNear);
    EXPECT_LT(listen(20).both(), 1.2 * calm);
    teleport(-1.8f, 1.0f, 18.5f);  // back in range after the time to the beat has run out: a beat at once
    EXPECT_GT(listen(5).both(), 1.5 * calm);
    EXPECT_FALSE(caught);
}

class LateSoundTest : public SoundTest {
protected:
    LateSoundTest() { startInSetUp = false; }
};

TEST_F(LateSoundTest, AMissingOrBrokenFileIsReportedOnceAndTheRestIsHeard)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("vellmar_sounds_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator("Scene"))
        if (entry.path().extension() == ".wav")
            fs::copy_file(entry.path(), folder / entry.path().filename());
    fs::remove(folder / "hall_ambience.wav");
    std::ofstream(folder / "footstep.wav", std::ios::trunc) << "RIFF\x10\0\0\0WAVEfmt ";
    const std::string prefix = folder.string() + "/";
    soundFolder = prefix.c_str();

    testing::internal::CaptureStdout();
    ASSERT_TRUE(startSoundLoopback(80, mixRate));
    frame();
    play();
    turn(pi);
    listen(10);
    const Loudness statue = listen(20);
    const std::string console = testing::internal::GetCapturedStdout();
    fs::remove_all(folder);

    for (const char* name : {"hall_ambience.wav", "footstep.wav"}) {
        const size_t at = console.find(prefix + name);
        ASSERT_NE(at, std::string::npos) << name << " is named\n" << console;
        EXPECT_EQ(console.find(prefix + name, at + 1), std::string::npos) << name << " is named once";
        EXPECT_NE(console.find("the game plays without this sound", at), std::string::npos);
    }
    EXPECT_GT(statue.both(), 200.0) << "the statue is still heard";
}

// Started at volume 0 nothing is opened or heard; a volume raised on the options page during the pause
// starts the sound as a start at it would: heard at once, the harvester running once play goes on.
TEST_F(LateSoundTest, RaisingTheVolumeFromZeroDuringThePauseStartsTheSound)
{
    testing::internal::CaptureStdout();
    EXPECT_FALSE(startSoundLoopback(0, mixRate));
    play();
    frame();  // P starts latched
    const glm::vec3 harvesterAt = combine->worldMatrix()[3];
    teleport(harvesterAt.x + 4.0f, 1.0f, harvesterAt.z);  // near enough for its caption
    input.tap(GLFW_KEY_P);
    EXPECT_EQ(listen(10).both(), 0.0);
    optionsSaveOnLeaving = false;  // nothing saved: every test shares one settings folder
    openOptions();  // the volume, the page's first row, one step up from 80
    input.moveCursor(0, 0);
    tap(GLFW_KEY_RIGHT);
    EXPECT_GT(listen(10).both(), 200.0);
    input.tap(GLFW_KEY_P);
    listen(2);
    optionsSaveOnLeaving = true;
    EXPECT_EQ(captionAlpha(shownCaptions[captionHarvester]), 1.0f) << "the harvester runs";
    teleport(harvesterAt.x, 1.0f, harvesterAt.z + 14.0f);  // too far for its caption
    listen(70);
    EXPECT_EQ(captionAlpha(shownCaptions[captionHarvester]), 0.0f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Sound: volume 0, no audio device opened\nSound: volume 90, device loopback\n");
}
