#pragma once
// Display and sound settings from config.ini, read once at start-up.

extern int screenWidth;
extern int screenHeight;
extern int refreshRate;
extern bool fullscreen;
// Loudness of everything the game plays, 0 (silent, no audio device opened) to 100.
extern int volume;

// A setting that the pause menu's options page also changes: its key in config.ini, the global it
// sets, its default and accepted range, and what one step on the options page changes.
struct Setting {
    const char* key;
    int* value;
    int defaultValue;
    int low;
    int high;
    int alone;  // one value accepted outside low to high (RENDER_SCALE's 0, automatic); else low
    int step;
};
constexpr int playerSettingCount = 8;
// In the order the options page lists them.
extern const Setting playerSettings[playerSettingCount];

// Assigns the defaults, then whatever config.ini in the working directory says. A number outside
// the int range, an overlong line and anything past the first 64 KiB are refused with a console line.
void readConfig();
