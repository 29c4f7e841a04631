#pragma once
// The one place that writes the game's console: notices, refused files and fatal errors, the wait
// for Enter and the exit statuses. Every line of the game's own goes through here.
#include <string>

// Exit statuses of the game (the README lists them).
constexpr int exitPlayed = 0;
// The window, OpenGL, a shader program, a picture or the hall failed at start-up (255 to a shell).
constexpr int exitStartFailed = -1;
// The physics engine could not be created.
constexpr int exitPhysicsFailed = 1;
// A replayed journal did not play as recorded.
constexpr int exitReplayDiverged = 1;
// An argument the game does not know; nothing was started.
constexpr int exitBadCommandLine = 2;

// How a fatal error ends the game: its status, whether the player reads it before the console
// closes, and the stream it goes to.
struct FatalKind {
    int status;
    bool waits;
    bool errorStream;
};
constexpr FatalKind startFailure{exitStartFailed, true, false};
constexpr FatalKind pictureFailure{exitStartFailed, false, false};
constexpr FatalKind physicsFailure{exitPhysicsFailed, false, true};
constexpr FatalKind commandLineFailure{exitBadCommandLine, false, true};

// One line to standard output (printf format, the line end is added); the game goes on.
void notice(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A file the game does not use: "<path>: <reason>" on one line; the game goes on without it.
void refusedFile(const std::string& path, const std::string& reason);

// Waits until Enter is pressed on standard input, without a prompt; returns at once when the input
// is closed, so scripts and CI never hang.
void waitForEnter();

// The prompt, then the wait for Enter.
void consolePause();

// Writes the message (and, if given, a second line such as a compiler log), waits at the console
// where the kind says so and ends the process with the kind's status.
[[noreturn]] void fatalError(const FatalKind& kind, const std::string& message, const char* detail = nullptr);
[[noreturn]] inline void fatalError(const std::string& message, const char* detail = nullptr)
{
    fatalError(startFailure, message, detail);
}
