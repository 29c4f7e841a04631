#pragma once
// Display and sound settings from config.ini, read once at start-up.
#include <filesystem>

extern int screenWidth;
extern int screenHeight;
extern int refreshRate;
extern bool fullscreen;
// Loudness of everything the game plays, 0 (silent, no audio device opened) to 100.
extern int volume;

// Assigns the defaults, then whatever the file says (config.ini in the working directory unless told;
// where the game's own is, app/ConfigFolder.h decides). A number outside the int range, an overlong
// line and anything past the first 64 KiB are refused with a console line.
void readConfig(const std::filesystem::path& path = "config.ini");

// The settings in a fixed order, as a journal keeps them (config.ini's keys).
constexpr int settingCount = 6;
extern const char* const settingKeys[settingCount];
// Whether config.ini would take this value for the setting.
bool settingInRange(int index, long long value);
// The settings as they are now, and their replacement (a replay plays with the recorded ones).
void currentSettings(int values[settingCount]);
void useSettings(const int values[settingCount]);
