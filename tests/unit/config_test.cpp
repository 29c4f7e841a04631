#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TempDir.h"
#include "app/Config.h"

namespace {

// Reads config.ini from the current directory and returns what the reader printed.
std::string readWith(const TempDir& dir, const std::string* contents)
{
    if (contents)
        dir.write("config.ini", *contents);
    testing::internal::CaptureStdout();
    readConfig();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

struct Settings {
    int width, height, rate;
    bool full;
};

Settings read(const std::string& contents)
{
    TempDir dir;
    readWith(dir, &contents);
    return {screenWidth, screenHeight, refreshRate, fullscreen};
}

}  // namespace

TEST(Config, MissingFileKeepsDefaultsAndSaysSo)
{
    TempDir dir;
    screenWidth = 1;
    fullscreen = true;
    EXPECT_EQ(readWith(dir, nullptr), "config.ini not found\n");
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
    EXPECT_EQ(refreshRate, 60);
    EXPECT_FALSE(fullscreen);
}

TEST(Config, EmptyFilePrintsTheDefaultSummary)
{
    TempDir dir;
    std::string empty;
    EXPECT_EQ(readWith(dir, &empty), "WIDTH=800\nHEIGHT=600\nREFRESH_RATE=60\nFULLSCREEN=false\n");
}

TEST(Config, ReadsAllFourSettingsAndPrintsThem)
{
    TempDir dir;
    std::string file = "WIDTH=1280\nHEIGHT=720\n\nREFRESH_RATE=75\nFULLSCREEN=2\n";
    EXPECT_EQ(readWith(dir, &file), "WIDTH=1280\nHEIGHT=720\nREFRESH_RATE=75\nFULLSCREEN=true\n");
    EXPECT_EQ(screenWidth, 1280);
    EXPECT_EQ(screenHeight, 720);
    EXPECT_EQ(refreshRate, 75);
    EXPECT_TRUE(fullscreen);
}

TEST(Config, NumbersFollowTheIntegerScanRules)
{
    EXPECT_EQ(read("WIDTH=0x500\n").width, 1280);
    EXPECT_EQ(read("WIDTH=0800\n").width, 0) << "octal reading stops at the 8";
    EXPECT_EQ(read("WIDTH=010\n").width, 8);
    EXPECT_EQ(read("WIDTH=-5\n").width, -5);
    EXPECT_EQ(read("WIDTH= 1024\n").width, 1024) << "a blank after the equals sign is skipped";
    EXPECT_EQ(read("WIDTH=1024px trailing words\n").width, 1024);
    EXPECT_EQ(read("WIDTH=abc\n").width, 800);
    EXPECT_EQ(read("WIDTH=\n").width, 800);
}

TEST(Config, KeysMustBeExactAndAtTheLineStart)
{
    EXPECT_EQ(read("width=1024\n").width, 800);
    EXPECT_EQ(read(" WIDTH=1024\n").width, 800);
    EXPECT_EQ(read("WIDTH =1024\n").width, 800);
    EXPECT_EQ(read("# WIDTH=1024\nSIZE=3\n").width, 800);
    EXPECT_FALSE(read("FULLSCREEN=true\n").full) << "words are not values";
    EXPECT_TRUE(read("FULLSCREEN=1\nFULLSCREEN=true\n").full);
    EXPECT_FALSE(read("FULLSCREEN=1\nFULLSCREEN=0\n").full);
}

TEST(Config, LastValueWinsAndLineEndsDoNotMatter)
{
    Settings s = read("WIDTH=640\r\nHEIGHT=480\r\nWIDTH=1024\r\nHEIGHT=768");
    EXPECT_EQ(s.width, 1024);
    EXPECT_EQ(s.height, 768) << "a last line without a line end is still read";
}

TEST(Config, GarbageAndHugeNumbersNeverBreakTheReader)
{
    const char bytes[] = "\x00\xff\xfe=WIDTH=12\n\x01\x02HEIGHT\n";
    std::string garbage(bytes, sizeof bytes - 1);
    garbage += "WIDTH=77\n" + std::string(100000, 'x') + "\nHEIGHT=99999999999999999999999\n";
    Settings s = read(garbage);
    EXPECT_EQ(s.width, 77) << "garbage lines and a 100000-character line are passed over";
    EXPECT_EQ(s.height, 600) << "an out-of-range number is refused";
}
