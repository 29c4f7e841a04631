#pragma once
// The command line: --version and --help answer and end the program; any other argument is refused.

// The usage text, as --help prints it.
extern const char* const usageText;

// Reads the program's arguments before anything else starts. Returns true when the game is to start
// (no arguments); otherwise `status` is what the process ends with: 0 after --version ("Vellmar
// <version>") or --help, 2 after an unknown argument (the usage then goes to the error stream).
bool readArguments(int argc, char** argv, int& status);
