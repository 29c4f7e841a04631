#pragma once
// Where the game's files are found: the working directory, the folder of the executable, or the data
// folder of an installed game.

// Keeps the working directory when it holds the game's Shader/ and Scene/ folders. Otherwise, when
// the executable's own folder holds them (the game was started from elsewhere: a double-click,
// ./build/run/vellmar), or else the install's data folder beside it (../share/vellmar from the
// binary's folder, so a moved install still works), makes that folder the working directory and
// says so on the console. When none holds them, one line names the folders looked in and the game
// ends as it does for a missing shader.
void enterRunFolder();
