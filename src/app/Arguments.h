#pragma once
// The command line: --version and --help answer and end the program; --record, --replay and
// --timedemo name a journal (app/Journal.h); any other argument is refused.
#include <string>

// The usage text, as --help prints it.
extern const char* const usageText;
// The game's version, as --version prints it and a journal keeps it.
extern const char* const gameVersion;

// How the game plays: as usual, writing a journal, or played back from one, paced as recorded
// (replay) or as fast as it draws (timedemo).
enum class SessionMode { play, record, replay, timedemo };

struct Session {
    SessionMode mode = SessionMode::play;
    // The journal, made absolute: the game may move into its run folder before opening it.
    std::string journal;
};

// Reads the program's arguments before anything else starts. Returns true when the game is to start
// (no arguments, or one journal option with its file); otherwise `status` is what the process ends
// with: 0 after --version ("Vellmar <version>") or --help, 2 after an unknown argument or a journal
// option without its file (the usage then goes to the error stream).
bool readArguments(int argc, char** argv, int& status, Session& session);
