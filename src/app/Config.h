#pragma once
// The settings of config.ini: display and sound, read once at start-up, and the player's own,
// which the options page of the pause menu also changes.
#include <cstddef>
#include <filesystem>
#include <string>

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

// The settings in a fixed order, as a journal keeps them (config.ini's keys). From VOLUME on they
// are the ones the options page lists, in this order; the player's own are in core/GameState.h.
constexpr int settingCount = 13;
constexpr int firstPlayerSetting = 4;
extern const char* const settingKeys[settingCount];
// The range config.ini takes for each setting, and one special value outside it (LLONG_MIN for none).
struct SettingRange {
    long long low;
    long long high;
    long long alone;
};
extern const SettingRange settingRanges[settingCount];
// Assigned at the start of every read, so they hold whether or not the file exists.
extern const int settingDefaults[settingCount];
// A handful of settings fit in a few hundred bytes; these bounds keep a device or a huge file from
// holding up the start or filling memory. Longer lines are ignored, bytes past the largest not read.
constexpr std::size_t configLongestLine = 4096;
constexpr std::size_t configLargestFile = 64 * 1024;
// Whether the reader takes the setting from this line (its content, without the line feed).
bool lineSetsSetting(const std::string& line, int index);
// Whether config.ini would take this value for the setting.
bool settingInRange(int index, long long value);
// The settings as they are now, and their replacement (a replay plays with the recorded ones).
void currentSettings(int values[settingCount]);
void useSettings(const int values[settingCount]);
