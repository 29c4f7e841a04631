#include "app/Config.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "render/RenderScale.h"

int screenWidth = 800;
int screenHeight = 600;
int refreshRate = 60;
bool fullscreen = false;

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
    renderScaleSetting = 0;
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
        int scale = 0;
        if (scanSetting(line, "RENDER_SCALE=%i", scale)) {
            // 0 is automatic; below half of each side the picture would fall apart.
            if (scale == 0 || (scale >= 50 && scale <= 100))
                renderScaleSetting = scale;
            else
                std::printf("config.ini: %s is out of range, ignored\n", line.c_str());
        }
    }
    std::printf("WIDTH=%i\nHEIGHT=%i\nREFRESH_RATE=%i\nFULLSCREEN=%s\n", screenWidth, screenHeight, refreshRate,
                fullscreen ? "true" : "false");
}
