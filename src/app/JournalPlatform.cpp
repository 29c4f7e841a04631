#include "app/JournalPlatform.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include <memory>

#include "app/WorldChecksum.h"
#include "core/Console.h"
#include "core/Input.h"

namespace {

int64_t clockTicksOf(double seconds) { return std::llround(seconds * journalTicksPerSecond); }
double secondsOf(int64_t ticks) { return static_cast<double>(ticks) / journalTicksPerSecond; }
int32_t cursorStepsOf(double pixels) { return static_cast<int32_t>(std::lround(pixels * journalCursorSteps)); }
double pixelsOf(int32_t steps) { return static_cast<double>(steps) / journalCursorSteps; }

// The session's journal and its platform, while one is open.
Journal replayed;
std::unique_ptr<RecordingPlatform> recording;
std::unique_ptr<ReplayPlatform> replay;

}  // namespace

bool RecordingPlatform::open(const std::string& path, std::string& reason)
{
    JournalHeader header;
    header.gameVersion = gameVersion;
    currentSettings(header.settings);
    std::copy(boundKeys, boundKeys + commandCount, header.bindings);
    this->path = path;
    return writer.open(path, header, reason);
}

void RecordingPlatform::close()
{
    if (!writer.isOpen())
        return;
    writer.close();
    notice("%s: %zu frames recorded", path.c_str(), writer.framesKept());
}

void RecordingPlatform::getCursorPos(double* x, double* y)
{
    real.getCursorPos(x, y);
    *x = pixelsOf(cursorStepsOf(*x));
    *y = pixelsOf(cursorStepsOf(*y));
}

double RecordingPlatform::getTime()
{
    if (clockTicks < 0)
        clockTicks = clockTicksOf(real.getTime());
    return secondsOf(clockTicks);
}

void RecordingPlatform::pollEvents()
{
    real.pollEvents();
    clockTicks = clockTicksOf(real.getTime());
}

void RecordingPlatform::endFrame(const InputSnapshot& input)
{
    JournalFrame frame;
    frame.clockTicks = clockTicksOf(input.time);
    frame.keys = input.keysHeld;
    frame.buttons = static_cast<uint8_t>(input.buttonsHeld.to_ulong());
    frame.cursorX = cursorStepsOf(input.cursorX);
    frame.cursorY = cursorStepsOf(input.cursorY);
    frame.focused = input.focused;
    frame.visible = input.visible;
    frame.width = input.framebufferWidth;
    frame.height = input.framebufferHeight;
    frame.pad = input.pad;
    frame.checksum = worldChecksum();
    writer.write(frame);
}

ReplayPlatform::ReplayPlatform(Platform& real, const Journal& journal, bool paced)
    : real(real), journal(journal), paced(paced)
{
}

const JournalFrame& ReplayPlatform::frame() const
{
    static const JournalFrame none;
    if (journal.frames.empty())
        return none;
    return journal.frames[played == 0 ? 0 : played - 1];
}

int ReplayPlatform::getKey(int key)
{
    return key >= 0 && key < journalKeyCount && frame().keys[key] ? keyPress : keyRelease;
}

int ReplayPlatform::getMouseButton(int button)
{
    return button >= 0 && button < journalButtonCount && (frame().buttons >> button & 1) ? keyPress : keyRelease;
}

void ReplayPlatform::getCursorPos(double* x, double* y)
{
    *x = pixelsOf(frame().cursorX);
    *y = pixelsOf(frame().cursorY);
}

double ReplayPlatform::getTime() { return secondsOf(frame().clockTicks); }

bool ReplayPlatform::windowShouldClose()
{
    if (divergence != 0 || played >= journal.frames.size())
        return true;
    if (real.windowShouldClose() || real.getKey(keys::escape) == keyPress)
        stopped = true;
    return stopped;
}

void ReplayPlatform::pollEvents()
{
    real.pollEvents();
    if (played < journal.frames.size())
        ++played;
    if (!paced)
        return;
    // As fast as recorded: a frame starts no earlier after the first than it did in the recording.
    const auto now = std::chrono::steady_clock::now();
    if (played == 1)
        started = now;
    const int64_t ahead = frame().clockTicks - journal.frames.front().clockTicks;
    const auto due = started + std::chrono::microseconds(ahead);
    if (due > now)
        std::this_thread::sleep_until(due);
}

void ReplayPlatform::getFramebufferSize(int* width, int* height)
{
    *width = frame().width;
    *height = frame().height;
}

const char* ReplayPlatform::joystickName(int slot)
{
    return slot == frame().pad.id ? "the recorded gamepad" : nullptr;
}

bool ReplayPlatform::getGamepadState(int slot, GamepadState* state)
{
    if (slot != frame().pad.id)
        return false;
    *state = frame().pad;
    return true;
}

void ReplayPlatform::endFrame(const InputSnapshot&)
{
    if (divergence != 0 || played == 0)
        return;
    if (const char* what = checksumDifference(frame().checksum, worldChecksum())) {
        divergence = played;
        difference = what;
    }
}

std::string ReplayPlatform::report() const
{
    if (divergence != 0)
        return "Replay diverged at frame " + std::to_string(divergence) + ": " + difference;
    if (stopped)
        return "Replay stopped by the player at frame " + std::to_string(played) + " of " +
               std::to_string(journal.frames.size()) + ", matching the recording so far";
    if (played < journal.frames.size())
        return "Replay diverged at frame " + std::to_string(played) + ": the game ended, the recording went on";
    return "Replay finished: " + std::to_string(played) + " frames, matches the recording";
}

Platform* openSession(const Session& session, Platform& real)
{
    std::string reason;
    if (session.mode == SessionMode::record) {
        recording = std::make_unique<RecordingPlatform>(real);
        if (!recording->open(session.journal, reason))
            fatalError(commandLineFailure, session.journal + ": " + reason);
        return recording.get();
    }
    if (session.mode == SessionMode::play)
        return &real;
    if (!readJournalFile(session.journal, replayed, reason))
        fatalError(commandLineFailure, session.journal + ": " + reason);
    if (replayed.cutShort)
        notice("%s: cut short inside frame %zu; the %zu whole frames before it replay", session.journal.c_str(),
               replayed.frames.size() + 1, replayed.frames.size());
    if (replayed.header.gameVersion != gameVersion)
        notice("%s: recorded by Vellmar %s, replayed by Vellmar %s", session.journal.c_str(),
               replayed.header.gameVersion.c_str(), gameVersion);
    useSettings(replayed.header.settings);
    std::copy(replayed.header.bindings, replayed.header.bindings + commandCount, boundKeys);
    replay = std::make_unique<ReplayPlatform>(real, replayed, session.mode == SessionMode::replay);
    return replay.get();
}

int closeSession()
{
    if (recording)
        recording->close();
    if (!replay)
        return exitPlayed;
    notice("%s", replay->report().c_str());
    return replay->diverged() ? exitReplayDiverged : exitPlayed;
}
