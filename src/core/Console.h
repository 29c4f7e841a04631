#pragma once
// The console side of the game: the wait before the window closes for good, and fatal exits.
#include <string>

// Waits until Enter is pressed on standard input; returns at once when the input is closed,
// so scripts and CI never hang.
void consolePause();

// Writes the message (and, if given, a second line such as a compiler log) to standard output,
// waits at the console and ends the process with status -1.
[[noreturn]] void fatalError(const std::string& message, const char* detail = nullptr);
