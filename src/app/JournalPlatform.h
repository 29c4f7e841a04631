#pragma once
// Recorded play behind the platform seam (core/Platform.h). A RecordingPlatform passes the real
// platform through and keeps every frame's input and the world's checksum in a journal; a
// ReplayPlatform plays a journal back in its place, frame for frame, and compares the checksums.
#include <chrono>
#include <string>

#include "app/Arguments.h"
#include "app/Journal.h"
#include "core/Platform.h"

// The real platform with its clock and cursor rounded to the journal's steps and the clock held
// between two polls, so that the recording game sees exactly what its replay will.
class RecordingPlatform : public Platform {
public:
    explicit RecordingPlatform(Platform& real) : real(real) {}
    // Creates the journal (never over an existing file); false with the reason.
    bool open(const std::string& path, std::string& reason);
    // Closes the journal and says how many frames it holds.
    void close();

    int getKey(int key) override { return real.getKey(key); }
    int getMouseButton(int button) override { return real.getMouseButton(button); }
    void getCursorPos(double* x, double* y) override;
    void setCursorPos(double x, double y) override { real.setCursorPos(x, y); }
    void setCursorVisible(bool visible) override { real.setCursorVisible(visible); }
    double getTime() override;
    bool windowShouldClose() override { return real.windowShouldClose(); }
    bool windowFocused() override { return real.windowFocused(); }
    bool windowVisible() override { return real.windowVisible(); }
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override { real.getFramebufferSize(width, height); }
    void setWindowSize(int width, int height) override { real.setWindowSize(width, height); }
    const char* joystickName(int slot) override { return real.joystickName(slot); }
    bool getGamepadState(int slot, GamepadState* state) override { return real.getGamepadState(slot, state); }
    bool addGamepadMappings(const char* text) override { return real.addGamepadMappings(text); }
    void endFrame(const InputSnapshot& input) override;

private:
    Platform& real;
    JournalWriter writer;
    std::string path;
    int64_t clockTicks = -1;  // the clock at the last poll; -1 before the first
};

// Plays a journal instead of the player: every frame gets the recorded input and clock, and its
// end the recorded checksum to compare. The real platform still keeps the window; of the player's
// own input only Escape (or closing the window) counts, and ends the replay.
class ReplayPlatform : public Platform {
public:
    // paced: frames wait for the recorded clock (a replay); otherwise they run as fast as the
    // machine draws (a timedemo).
    ReplayPlatform(Platform& real, const Journal& journal, bool paced);

    int getKey(int key) override;
    int getMouseButton(int button) override;
    void getCursorPos(double* x, double* y) override;
    void setCursorPos(double, double) override {}
    void setCursorVisible(bool visible) override { real.setCursorVisible(visible); }
    double getTime() override;
    bool windowShouldClose() override;
    bool windowFocused() override { return frame().focused; }
    bool windowVisible() override { return frame().visible; }
    void pollEvents() override;
    void getFramebufferSize(int* width, int* height) override;
    void setWindowSize(int width, int height) override { real.setWindowSize(width, height); }
    // The recorded gamepad, in the slot it played from.
    const char* joystickName(int slot) override;
    bool getGamepadState(int slot, GamepadState* state) override;
    bool addGamepadMappings(const char* text) override { return real.addGamepadMappings(text); }
    void endFrame(const InputSnapshot& input) override;

    // A checksum differed, or the game ended before the journal did.
    bool diverged() const { return divergence != 0 || (!stopped && played < journal.frames.size()); }
    // The line the replay ends with: finished and matching, diverged, or stopped by the player.
    std::string report() const;

private:
    const JournalFrame& frame() const;

    Platform& real;
    const Journal& journal;
    bool paced;
    std::size_t played = 0;  // frames begun; the current one is journal.frames[played - 1]
    std::size_t divergence = 0;  // the first frame whose checksum differed, from 1
    std::string difference;
    bool stopped = false;
    std::chrono::steady_clock::time_point started;
};

// The platform a session plays through: `real` itself, or a journal's platform around it. Replays
// take the journal's settings. A journal that cannot be read, or created for recording, ends the
// program here, before any window, with one line naming it and the reason (status 2).
Platform* openSession(const Session& session, Platform& real);
// Ends the session's journal: a recording is flushed and closed, a replay prints its closing line.
// Returns the exit status: 1 when a replay diverged, otherwise 0.
int closeSession();
