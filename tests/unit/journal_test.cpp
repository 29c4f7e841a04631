// The journal of a session (its format, reader and writer), the world checksum it keeps and the timedemo's rows.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <tuple>

#include <sys/resource.h>

#include "TempDir.h"
#include "app/Journal.h"
#include "core/FrameTimes.h"
#include "core/GameState.h"
#include "core/Platform.h"
#include "physics/Engine.h"
#include "physics/PhysicsWorld.h"
#include "physics/Player.h"
#include "render/Light.h"

namespace {

JournalFrame frameAt(int64_t ticks, int key, int32_t cursor)
{
    JournalFrame frame;
    frame.clockTicks = ticks;
    frame.keys.set(key);
    frame.cursorX = cursor;
    frame.width = 800;
    frame.checksum.statuePoses = static_cast<uint16_t>(ticks);
    frame.checksum.flags = checksumFlags::walkMode;
    return frame;
}

std::string journalOf(const std::vector<JournalFrame>& frames, JournalHeader header = {})
{
    std::string bytes = encodeJournalHeader(header);
    JournalFrame previous;
    for (const JournalFrame& frame : frames)
        encodeJournalFrame(previous, frame, bytes), previous = frame;
    return bytes;
}

std::string reasonFor(const std::string& bytes)
{
    Journal journal;
    std::string reason;
    EXPECT_FALSE(readJournal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), journal, reason));
    return reason;
}

}  // namespace

TEST(WorldChecksum, EachPartOfTheStateShowsAsItself)
{
    PhysicsWorld world;
    player = createPlayer(world, 1.0f, 0.0f, 1.0f, 0.0f);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"the player's position", [] { player->body->setGlobalPose(phys::Transform(glm::vec3(0, 1, 1e-6f)), true); }},
        {"the player's velocity", [] { player->body->setLinearVelocity(glm::vec3(0, 0, 1e-6f), true); }},
        {"the player's view", [] { pitch += 1e-6f; }},
        {"caught", [] { caught = !caught; }},
        {"dangerNear", [] { dangerNear = !dangerNear; }},
        {"fellOut", [] { player->fellOut = true; }},
        {"the flashlight", [] { flashlightOn = !flashlightOn; }},
        {"paused", [] { paused = !paused; }},
    };
    for (const auto& [what, change] : changes) {
        const WorldChecksum before = worldChecksum();
        change();
        EXPECT_STREQ(checksumDifference(before, worldChecksum()), what);
        EXPECT_EQ(checksumDifference(worldChecksum(), worldChecksum()), nullptr);
    }
    delete player;
    player = nullptr;
}

TEST(Journal, FramesReadBackAsWrittenAndAFrameCutShortIsDroppedAlone)
{
    JournalHeader header;
    currentSettings(header.settings);
    header.settings[4] = 35;
    header.bindings[4] = 'Q';
    header.gameVersion = "1.2";
    JournalFrame last = frameAt(2000000, 300, -90000);
    last.buttons = 1, last.focused = false, last.visible = false, last.height = 600;
    last.pad.id = 3, last.pad.buttons.set(pad::south), last.pad.axes[pad::leftY] = -0.625f;
    const std::vector<JournalFrame> frames = {frameAt(1000000, 87, 512 * 256), frameAt(1016667, 87, 513 * 256), last};
    const std::string bytes = journalOf(frames, header);
    const std::size_t twoFrames = journalOf({frames[0], frames[1]}, header).size();
    for (std::size_t cut = twoFrames; cut <= bytes.size(); ++cut) {
        Journal journal;
        std::string reason;
        ASSERT_TRUE(readJournal(reinterpret_cast<const uint8_t*>(bytes.data()), cut, journal, reason)) << reason;
        EXPECT_EQ(journal.cutShort, cut < bytes.size() && cut > twoFrames);
        ASSERT_EQ(journal.frames.size(), cut == bytes.size() ? 3u : 2u);
        EXPECT_EQ(std::tie(journal.header.gameVersion, journal.header.settings[4], journal.header.bindings[4]),
                  std::make_tuple(std::string("1.2"), 35, int('Q')));
        for (std::size_t i = 0; i < journal.frames.size(); ++i) {
            const JournalFrame &a = journal.frames[i], &b = frames[i];
            EXPECT_TRUE(a.clockTicks == b.clockTicks && a.keys == b.keys && a.buttons == b.buttons &&
                        a.cursorX == b.cursorX && a.cursorY == b.cursorY && a.focused == b.focused && a.visible == b.visible && a.width == b.width && a.height == b.height &&
                        a.checksum == b.checksum && a.pad.id == b.pad.id && a.pad.buttons == b.pad.buttons &&
                        a.pad.axes[pad::leftY] == b.pad.axes[pad::leftY]) << "frame " << i;
        }
    }
}

TEST(Journal, RefusedWithItsReason)
{
    JournalHeader loud, escapeJumps;
    loud.settings[4] = 101, escapeJumps.bindings[4] = 256;  // Escape, which always quits
    std::string otherFormat = journalOf({});
    otherFormat[8] = journalFormat + 1;
    std::string badFrame = journalOf({frameAt(5, 1, 0)});
    badFrame[journalOf({}).size() + 2] = char(0x40);
    EXPECT_EQ(reasonFor(""), "the journal is empty");
    EXPECT_EQ(reasonFor("\x89PNG\r\n\x1a\n...."), "not a journal");
    EXPECT_EQ(reasonFor(otherFormat), "journal format 3, this game reads format 2");
    EXPECT_EQ(reasonFor(journalOf({}, loud)), "setting VOLUME=101 is out of range");
    EXPECT_EQ(reasonFor(journalOf({}, escapeJumps)), "setting KEY_JUMP=256 is out of range");
    // Frames the writer never makes: a gamepad slot past the last, a side past 2^16, a stick at no
    // number, a clock going back, a cursor moved beyond 32 bits.
    JournalFrame slot = frameAt(5, 1, 0), tall = slot, unknown = slot, near = frameAt(5, 1, -5);
    slot.pad.id = joystickSlots, tall.height = 1 << 17, unknown.pad.id = 0, unknown.pad.axes[0] = std::nanf("");
    std::string beyond = journalOf({near}), back = beyond;
    encodeJournalFrame(near, frameAt(4, 1, -5), back);
    encodeJournalFrame(frameAt(6, 1, INT32_MAX), frameAt(7, 1, INT32_MIN), beyond);  // from -5, by -(2^32 - 1)
    const std::string header = journalOf({}), atFirst = "frame 1 is damaged (at byte " + std::to_string(header.size()) + ")";
    for (const std::string& bytes : {badFrame, journalOf({slot}), journalOf({tall}), journalOf({unknown})})
        EXPECT_EQ(reasonFor(bytes), atFirst);
    for (const std::string& bytes : {back, beyond})
        EXPECT_EQ(reasonFor(bytes), "frame 2 is damaged (at byte " + std::to_string(journalOf({near}).size()) + ")");
    for (std::size_t cut = 1; cut < header.size(); ++cut)
        EXPECT_EQ(reasonFor(header.substr(0, cut)), "the journal ends inside its header") << cut;
}

TEST(JournalWriter, NeverOverwritesAndFlushesEverySecond)
{
    TempDir dir;
    JournalWriter writer;
    std::string reason;
    ASSERT_TRUE(writer.open("a.journal", {}, reason));
    for (int64_t ticks = 0; ticks <= 1000000; ticks += 250000)
        writer.write(frameAt(ticks, 1, 0));
    Journal journal;
    ASSERT_TRUE(readJournalFile("a.journal", journal, reason)) << reason;
    EXPECT_EQ(journal.frames.size(), 5u) << "flushed once a second of frames had passed";
    EXPECT_FALSE(JournalWriter().open("a.journal", {}, reason));
    EXPECT_EQ(reason, "already exists, not overwritten");
    EXPECT_FALSE(JournalWriter().open("a.journal/b.journal", {}, reason)) << "a folder that cannot be written";
    EXPECT_EQ(reason, "cannot be written (Not a directory)");
}

TEST(JournalWriter, AFullDiskStopsTheRecordingInOneLineAndKeepsWhatWasWritten)
{
    TempDir dir;
    rlimit old{}, small{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    small = old, small.rlim_cur = 4000;  // the file grows past this within a few seconds of frames
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    JournalWriter writer;
    std::string reason;
    ASSERT_TRUE(writer.open("a.journal", {}, reason) && setrlimit(RLIMIT_FSIZE, &small) == 0);
    testing::internal::CaptureStdout();
    for (int64_t ticks = 0; ticks <= 60000000; ticks += 16667)
        writer.write(frameAt(ticks, int(ticks / 16667 % 90), int32_t(ticks)));
    writer.close();
    setrlimit(RLIMIT_FSIZE, &old), std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a.journal: cannot be written (File too large), the recording stops\n");
    Journal journal;
    ASSERT_TRUE(readJournalFile("a.journal", journal, reason)) << reason;
    EXPECT_GT(writer.framesKept(), 0u);
    EXPECT_GE(journal.frames.size(), writer.framesKept()) << "every frame counted as kept replays";
}

// A timedemo row: nearest-rank percentiles, the smallest sample with at least p % of them at or below it.
TEST(Timedemo, RowsGiveNearestRankPercentiles)
{
    const Samples samples{{50, 10, 40, 20, 30}};
    EXPECT_EQ(frameTimesRow("swap", samples), "swap                         30         50         50         50\n");
}
