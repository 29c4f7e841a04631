#pragma once
// Where config.ini lives: the one place that decides it, for reading and for saving.
#include <filesystem>

// The config.ini the game reads: "config.ini" in the working directory (the folder the game plays
// from) when there is one there, otherwise the user's own (userConfigFile).
std::filesystem::path configFilePath();

// The user's config.ini, whether or not it exists: $XDG_CONFIG_HOME/vellmar/config.ini, or
// ~/.config/vellmar/config.ini when the variable is unset, empty or not an absolute path. Also where
// settings go when the folder the game plays from cannot be written (an installed game); the
// vellmar folder is made by whoever first writes there.
std::filesystem::path userConfigFile();

// Where changed settings are saved: the working directory's config.ini when that is the one read and
// the folder can be written (renaming a new file over it needs that), otherwise the user's own; the
// writer makes the user's vellmar folder when it is missing.
std::filesystem::path configSavePath();
