// config.ini numbers beyond an int and files that are not small text files: refused with a line
// naming what was refused, the rest of the file still counts, never a crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TempDir.h"
#include "app/Config.h"

namespace {

std::string summary(int width, int height, int rate, bool full)
{
    return "WIDTH=" + std::to_string(width) + "\nHEIGHT=" + std::to_string(height) + "\nREFRESH_RATE=" +
           std::to_string(rate) + "\nFULLSCREEN=" + (full ? "true" : "false") + "\n";
}

}  // namespace

TEST(ConfigLimits, OutOfRangeNumbersAndOddFilesAreRefusedWithOneLine)
{
    const std::string noLineEnd(200 * 1024, 'x');
    struct Case {
        const char* what;
        std::string contents;
        std::string console;
    } cases[] = {
        {"one past the largest int", "WIDTH=2147483648\n",
         "config.ini: WIDTH=2147483648 is out of range, ignored\n" + summary(800, 600, 60, false)},
        {"the earlier value is kept", "WIDTH=1024\nWIDTH= 4294968096px\nHEIGHT=768\n",
         "config.ini: WIDTH=4294968096 is out of range, ignored\n" + summary(1024, 768, 60, false)},
        {"beyond any 64-bit number", "HEIGHT=99999999999999999999999\n",
         "config.ini: HEIGHT=99999999999999999999999 is out of range, ignored\n" + summary(800, 600, 60, false)},
        {"hexadecimal and octal past the top", "REFRESH_RATE=0x100000000\nFULLSCREEN=037777777777\n",
         "config.ini: REFRESH_RATE=0x100000000 is out of range, ignored\n"
         "config.ini: FULLSCREEN=037777777777 is out of range, ignored\n" +
             summary(800, 600, 60, false)},
        {"one below the smallest int", "WIDTH=-2147483649\n",
         "config.ini: WIDTH=-2147483649 is out of range, ignored\n" + summary(800, 600, 60, false)},
        {"the int range's own ends are numbers", "WIDTH=2147483647\nHEIGHT=-2147483648\nREFRESH_RATE=0x7fffffff\n",
         summary(2147483647, -2147483648, 2147483647, false)},
        {"a byte-order mark before the first key", "\xEF\xBB\xBFWIDTH=1024\nHEIGHT=768\n", summary(1024, 768, 60, false)},
        {"an overlong line is not cut into a setting", "WIDTH=1024" + std::string(5000, ' ') + "\nHEIGHT=768\n",
         "config.ini: line 1 is longer than 4096 bytes, ignored\n" + summary(800, 768, 60, false)},
        {"an overlong last line", "HEIGHT=768\nWIDTH=1024" + std::string(5000, '0'),
         "config.ini: line 2 is longer than 4096 bytes, ignored\n" + summary(800, 768, 60, false)},
        {"reading stops after 64 KiB", "HEIGHT=768\n" + noLineEnd + "\nWIDTH=1024\n",
         "config.ini: only the first 65536 bytes are read\n" +
             summary(800, 768, 60, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("config.ini", c.contents);
        testing::internal::CaptureStdout();
        readConfig();
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.console);
    }

    // A folder of that name holds no settings: the game says the file is not there.
    TempDir dir;
    std::filesystem::create_directory(dir.path / "config.ini");
    screenWidth = 1;
    testing::internal::CaptureStdout();
    readConfig();
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "config.ini not found\n");
    EXPECT_EQ(screenWidth, 800);
}
