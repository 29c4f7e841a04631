#pragma once
// Where the game's files are found: the working directory, or else the folder of the executable.

// Keeps the working directory when it holds the game's Shader/ and Scene/ folders. Otherwise, when
// the executable's own folder holds them (the game was started from elsewhere: a double-click, a
// desktop entry, ./build/run/vellmar), makes that folder the working directory and says so on the
// console; config.ini is then read from there too. If neither holds them, nothing changes and the
// first missing file is reported as always.
void enterRunFolder();
