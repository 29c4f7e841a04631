#include "app/Config.h"

#include <cstdio>
#include <fstream>
#include <string>

int screenWidth = 800;
int screenHeight = 600;
int refreshRate = 60;
bool fullscreen = false;
int volume = 80;

namespace {

// %i takes decimal, 0-prefixed octal and 0x-prefixed hexadecimal; anything after the number is ignored.
bool scanSetting(const std::string& line, const char* format, int& value)
{
    int scanned = 0;
    if (std::sscanf(line.c_str(), format, &scanned) != 1)
        return false;
    value = scanned;
    return true;
}

}  // namespace

void readConfig()
{
    std::ifstream file("config.ini");
    screenWidth = 800;
    screenHeight = 600;
    refreshRate = 60;
    fullscreen = false;
    volume = 80;
    if (!file.good()) {
        std::printf("config.ini not found\n");
        return;
    }

    std::string line;
    while (std::getline(file, line)) {
        scanSetting(line, "WIDTH=%i", screenWidth);
        scanSetting(line, "HEIGHT=%i", screenHeight);
        scanSetting(line, "REFRESH_RATE=%i", refreshRate);
        int full = 0;
        if (scanSetting(line, "FULLSCREEN=%i", full))
            fullscreen = full != 0;
        int level = 0;
        if (scanSetting(line, "VOLUME=%i", level)) {
            if (level >= 0 && level <= 100)
                volume = level;
            else
                std::printf("config.ini: VOLUME=%i is out of range, ignored\n", level);
        }
    }
    std::printf("WIDTH=%i\nHEIGHT=%i\nREFRESH_RATE=%i\nFULLSCREEN=%s\n", screenWidth, screenHeight, refreshRate,
                fullscreen ? "true" : "false");
}
