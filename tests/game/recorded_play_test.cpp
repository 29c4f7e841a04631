// A session played through the scripted platform is recorded in-process; the real binary replays
// it, whole, with one input changed, and cut inside a frame.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "WorldHarness.h"
#include "app/JournalPlatform.h"

namespace {

// The console of `./vellmar --replay <file>` in the run folder, and its exit status.
std::string replayed(const std::string& file, int& status)
{
    std::string console;
    // In a sanitized build the leak check stays in-process: at the child's exit the display driver,
    // already unloaded, leaves allocations the checker cannot name, and its report would end the
    // replay with status 1.
    std::FILE* game = popen(("ASAN_OPTIONS=detect_leaks=0 ./vellmar --replay " + file + " </dev/null 2>&1").c_str(), "r");
    for (int c = 0; (c = std::fgetc(game)) != EOF;)
        console += static_cast<char>(c);
    status = WEXITSTATUS(pclose(game));
    return console;
}

std::string encoded(const Journal& journal, std::size_t frames)
{
    std::string bytes = encodeJournalHeader(journal.header);
    for (std::size_t i = 0; i < frames; ++i)
        encodeJournalFrame(i ? journal.frames[i - 1] : JournalFrame(), journal.frames[i], bytes);
    return bytes;
}

}  // namespace

using RecordedPlay = WorldTest;

TEST_F(RecordedPlay, ASessionReplaysToTheSameWorldEveryFrameUnlessChangedAndACutOneToItsCut)
{
    const std::string path = "/tmp/vellmar-recorded-" + std::to_string(getpid());
    RecordingPlatform recording(input);
    std::string reason;
    renderScaleSetting = 50;  // a quarter of the pixels; the journal keeps it for the replays
    ASSERT_TRUE(recording.open(path + ".journal", reason)) << reason;
    platform = &recording;
    // Walk up to the statue that watches the start, the flashlight off and on, a pause, then turn
    // away: unseen, it closes in and catches. Coarse frames keep the test short on a busy machine.
    play();
    input.press(keys::w);
    frames(25, 0.1);
    input.tap(keys::f);
    frames(2, 0.1);
    input.tap(keys::f);
    input.tap(keys::p);
    frames(2, 0.1);
    input.tap(keys::p);
    input.release(keys::w);
    frames(2, 0.1);  // the pause ends after the frame's player update; the next only re-centres the cursor
    turn(3.14159265f);
    for (int i = 0; i < 150 && !caught; ++i)
        frame(0.1);
    ASSERT_TRUE(caught);
    tap(keys::escape);
    recording.close();
    platform = &input;

    Journal journal;
    ASSERT_TRUE(readJournalFile(path + ".journal", journal, reason)) << reason;
    int status = 0;
    std::string console = replayed(path + ".journal", status);
    EXPECT_NE(console.find("Replay finished: " + std::to_string(journal.frames.size()) + " frames, matches the recording"),
              std::string::npos) << console;
    EXPECT_EQ(status, 0);

    const std::size_t cut = (encoded(journal, 20).size() + encoded(journal, 21).size()) / 2;
    std::ofstream(path + "-cut.journal", std::ios::binary) << encoded(journal, 21).substr(0, cut);
    console = replayed(path + "-cut.journal", status);
    EXPECT_NE(console.find("cut short inside frame 21; the 20 whole frames before it replay"), std::string::npos);
    EXPECT_NE(console.find("Replay finished: 20 frames, matches the recording"), std::string::npos) << console;
    EXPECT_EQ(status, 0);

    // D held in frame 10 alone: the player steps aside then, and the replay says so.
    journal.frames[9].keys.set(keys::d);
    std::ofstream(path + "-changed.journal", std::ios::binary) << encoded(journal, journal.frames.size());
    console = replayed(path + "-changed.journal", status);
    EXPECT_NE(console.find("Replay diverged at frame 10: the player's position"), std::string::npos) << console;
    EXPECT_EQ(status, 1);

    for (const char* end : {".journal", "-changed.journal", "-cut.journal"})
        std::remove((path + end).c_str());
}
