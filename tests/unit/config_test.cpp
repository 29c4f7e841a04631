// config.ini: keys read with the integer scan rules, anything refused named in one line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "TempDir.h"
#include "app/Config.h"
#include "app/Gamepad.h"
#include "app/Platform.h"
#include "core/Bindings.h"
#include "core/GameState.h"
#include "render/RenderScale.h"

namespace {

std::string readAndPrint()
{
    testing::internal::CaptureStdout();
    readConfig();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

std::string summary(int width = 800, int height = 600, int rate = 60, bool full = false)
{
    return "WIDTH=" + std::to_string(width) + "\nHEIGHT=" + std::to_string(height) + "\nREFRESH_RATE=" +
           std::to_string(rate) + "\nFULLSCREEN=" + (full ? "true" : "false") + "\n";
}

// The line refusing a setting, then the summary.
std::string refused(const std::string& setting, const std::string& rest = summary())
{
    return "config.ini: " + setting + " is out of range, ignored\n" + rest;
}

// The line naming a key in a form not read.
std::string unread(int line, const std::string& text, const std::string& key, const std::string& value = "<number>")
{
    return "config.ini: line " + std::to_string(line) + " \"" + text + "\" is not read: expected " + key + "=" + value + "\n";
}

}  // namespace

TEST(Config, EachKeyIsReadOrRefusedWithItsLine)
{
    const std::string garbage("\x00\xff\xfe=WIDTH=12\n\x01\x02HEIGHT\n", 22);
    const struct {
        std::string file, console;
        int* setting = nullptr;  // a setting outside the summary, and its expected value
        int value = 0;
    } cases[] = {
        {"", summary()}, {"WIDTH=0x500\n", summary(1280)}, {"WIDTH=0800\n", summary(0)},  // octal stops at the 8
        {"WIDTH=1280\nHEIGHT=720\n\nREFRESH_RATE=75\nFULLSCREEN=2\n", summary(1280, 720, 75, true)},
        {"WIDTH=010\nHEIGHT=-5\n", summary(8, -5)}, {"WIDTH= 1024px words\n", summary(1024)},
        {"WIDTH=abc\nHEIGHT=\n", unread(1, "WIDTH=abc", "WIDTH") + unread(2, "HEIGHT=", "HEIGHT") + summary()},
        {"\xEF\xBB\xBFWIDTH=1024\n", summary(1024)}, {"HEIGHT=768\n\xEF\xBB\xBFWIDTH=1024\n", summary(800, 768)},
        {"width=1\n WIDTH=2\nWIDTH =3\n# WIDTH=4\nSIZE=3\nFULLSCREEN=true\nkey_jump=Q\r\n",
         unread(1, "width=1", "WIDTH") + unread(2, " WIDTH=2", "WIDTH") + unread(3, "WIDTH =3", "WIDTH") +
             unread(6, "FULLSCREEN=true", "FULLSCREEN") + unread(7, "key_jump=Q", "KEY_JUMP", "<key name>") + summary()},
        {std::string("\xFF\xFEW\0I\0D\0T\0H\0=\0\x39\0\r\0\n\0", 20),
         unread(1, "WIDTH=9", "WIDTH", "<number> in ASCII or UTF-8, not UTF-16") + summary()},
        {"WIDTH=640\r\nHEIGHT=480\r\nWIDTH=1024\r\nHEIGHT=768", summary(1024, 768)},
        {garbage + "WIDTH=77\n", summary(77)},
        {"WIDTH=2147483648\n", refused("WIDTH=2147483648")}, {"WIDTH=-2147483649\n", refused("WIDTH=-2147483649")},
        {"WIDTH=1024\nWIDTH= 4294968096px\nHEIGHT=768\n", refused("WIDTH=4294968096", summary(1024, 768))},
        {"HEIGHT=-99999999999999999999999\n", refused("HEIGHT=-99999999999999999999999")},
        {"REFRESH_RATE=0x100000000\nFULLSCREEN=037777777777\n",
         refused("REFRESH_RATE=0x100000000", refused("FULLSCREEN=037777777777"))},
        {"WIDTH=2147483647\nHEIGHT=-2147483648\nREFRESH_RATE=0x7fffffff\n",
         summary(2147483647, -2147483648, 2147483647)},
        {"WIDTH=1024" + std::string(4087, ' ') + "\nHEIGHT=768\n",  // one byte over
         "config.ini: line 1 is longer than 4096 bytes, ignored\n" + summary(800, 768)},
        {"HEIGHT=768\nWIDTH=1024" + std::string(5000, '0'),
         "config.ini: line 2 is longer than 4096 bytes, ignored\n" + summary(800, 768)},
        {"HEIGHT=768\n" + std::string(200 * 1024, 'x') + "\nWIDTH=1024\n",
         "config.ini: only the first 65536 bytes are read\n" + summary(800, 768)},
        {"HEIGHT=768\n" + std::string(65514, '\n') + "WIDTH=1024\n", summary(1024, 768)},  // 65536 bytes: all read
        {"RENDER_SCALE=50\n", summary(), &renderScaleSetting, 50}, {"VOLUME=0\n", summary(), &volume, 0},
        {"RENDER_SCALE=100\n", summary(), &renderScaleSetting, 100}, {"VOLUME=100\n", summary(), &volume, 100},
        {"RENDER_SCALE=0\n", summary(), &renderScaleSetting, 0}, {"VOLUME=101\n", refused("VOLUME=101"), &volume, 80},
        {"RENDER_SCALE=49\n", refused("RENDER_SCALE=49"), &renderScaleSetting, 0},
        {"VOLUME=40\nVOLUME=-1\n", refused("VOLUME=-1"), &volume, 40},
        {"RENDER_SCALE=101\nWIDTH=640\n", refused("RENDER_SCALE=101", summary(640)), &renderScaleSetting, 0},
        {"MOUSE_SPEED=10\n", summary(), &mouseSpeedPercent, 10}, {"INVERT_LOOK=1\n", summary(), &invertLook, 1},
        {"FIELD_OF_VIEW=0x64\n", summary(), &fieldOfView, 100}, {"PICTURE_SHAPE=1\n", summary(), &pictureShape, 1},
        {"BRIGHTNESS=50\n", summary(), &brightnessPercent, 50}, {"CAPTIONS=1\n", summary(), &captions, 1},
        {"MOUSE_SPEED=401\nINVERT_LOOK=2\nFIELD_OF_VIEW=39\n", refused("MOUSE_SPEED=401", refused("INVERT_LOOK=2",
         refused("FIELD_OF_VIEW=39"))), &fieldOfView, 60},
        {"PICTURE_SHAPE=-1\nBRIGHTNESS=201\n", refused("PICTURE_SHAPE=-1", refused("BRIGHTNESS=201")), &brightnessPercent, 100},
        {"CAPTIONS=0\nCAPTIONS=9\n", refused("CAPTIONS=9"), &captions, 0},
        {"GAMEPAD_LOOK_SPEED=400\n", summary(), &gamepadLookSpeed, 400}, {"GAMEPAD_LOOK_SPEED=9\n", refused("GAMEPAD_LOOK_SPEED=9"), &gamepadLookSpeed, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 40));
        TempDir dir;
        dir.write("config.ini", c.file);
        if (c.setting)
            *c.setting = 33;
        EXPECT_EQ(readAndPrint(), c.console);
        EXPECT_EQ(c.setting ? *c.setting : 0, c.value);
    }
}

TEST(Config, AMissingFileOrAFolderInItsPlaceKeepsTheDefaults)
{
    for (bool folder : {false, true}) {
        TempDir dir;
        if (folder)
            std::filesystem::create_directory(dir.path / "config.ini");
        screenWidth = 1, fullscreen = true;
        EXPECT_EQ(readAndPrint(), "config.ini not found\n");
        EXPECT_TRUE(screenWidth == 800 && !fullscreen);
    }
}

// KEY_ lines: a key's name or number binds it; a refused line is named once and the default stays.
TEST(Config, KeyLinesBindTheCommandsOrAreRefusedWithTheirLine)
{
    const struct { std::string file; std::vector<std::string> refusals; std::string bound; } cases[] = {
        {"", {}, "W S SPACE P"},  // bound: forward, back, jump, pause
        {"KEY_FORWARD=z\r\nKEY_JUMP= 81 \nKEY_PAUSE=KP_7\n", {}, "Z S Q KP_7"},
        {"KEY_FORWARD=S\nKEY_BACK=W\n", {}, "S W SPACE P"},  // a swap
        {"KEY_JUMP=W\n", {"KEY_JUMP=W: W is taken by KEY_FORWARD"}, "W S SPACE P"},
        {"KEY_JUMP=Q\nKEY_PAUSE=Q\n", {"KEY_PAUSE=Q: Q is taken by KEY_JUMP"}, "W S Q P"},
        {"KEY_FORWARD=SPACE\nKEY_STATS=W\nKEY_JUMP=SPACE\n",  // the first yields to a default, then the second
         {"KEY_FORWARD=SPACE: SPACE is taken by KEY_JUMP", "KEY_STATS=W: W is taken by KEY_FORWARD"}, "W S SPACE P"},
        {"KEY_FORWARD=WW\nKEY_BACK=349\nKEY_JUMP=\n",
         {"KEY_FORWARD=WW is no key", "KEY_BACK=349 is no key", "KEY_JUMP= is no key"}, "W S SPACE P"},
        {"KEY_JUMP=Q\nKEY_JUMP=escape\nKEY_PAUSE=M\n",
         {"KEY_JUMP=escape: Escape always quits", "KEY_PAUSE=M: M stops the vehicle box"}, "W S Q P"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        dir.write("config.ini", c.file);
        std::string console;
        for (const std::string& refusal : c.refusals)
            console += "config.ini: " + refusal + ", ignored\n";
        EXPECT_EQ(readAndPrint(), console + summary());
        std::string bound;
        for (Command command : {Command::forward, Command::back, Command::jump, Command::pause})
            bound += std::string(bound.empty() ? "" : " ") + keyName(boundKeys[static_cast<int>(command)]);
        EXPECT_EQ(bound, c.bound);
    }
    for (int key = 0; key < 400; ++key)  // every name reads back as its key
        EXPECT_TRUE(!keyName(key) || keyNamed(keyName(key)) == key) << key;
    EXPECT_TRUE(keyNamed("LEFT_SHIFT") == GLFW_KEY_LEFT_SHIFT && keyNamed("MENU") == GLFW_KEY_MENU &&
                keyNamed("F25") == GLFW_KEY_F25 && keyNamed("KP_0") == GLFW_KEY_KP_0 &&
                keyNamed("WORLD_2") == GLFW_KEY_WORLD_2 && keyNamed("0") == GLFW_KEY_0 && keyNamed("48") == GLFW_KEY_0);
}

// gamecontrollerdb.txt beside config.ini: mapping lines go to the platform; a damaged file is named
// in one line and none of it is used.
TEST(Config, AGamepadMappingFileIsAddedWholeOrNotAtAll)
{
    const std::string good = "# mine\n\n03000000de280000ff11000001000000,My Pad,a:b0,b:b1,platform:Linux,\r\n";
    const struct { std::string file, console; } cases[] = {
        {good, ""},
        {good + "03000000de28,Short,a:b0\n", "gamecontrollerdb.txt: line 4 is no gamepad mapping, the file is not used\n"},
        {"03000000de280000ff11000001000000,Pad,a\n", "gamecontrollerdb.txt: line 1 is no gamepad mapping, the file is not used\n"},
        {"0300000zde280000ff11000001000000,,a:b0\n", "gamecontrollerdb.txt: line 1 is no gamepad mapping, the file is not used\n"},
        {"03000000de280000ff110000010000001,Long,a:b0\n", "gamecontrollerdb.txt: line 1 is no gamepad mapping, the file is not used\n"},
        {"03000000de280000ff11000001000000,Pad,a:b0,b:\n", "gamecontrollerdb.txt: line 1 is no gamepad mapping, the file is not used\n"},
        {std::string("\x00\x01", 2), "gamecontrollerdb.txt: line 1 is no gamepad mapping, the file is not used\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("gamecontrollerdb.txt", c.file);
        ScriptedPlatform pads;
        testing::internal::CaptureStdout();
        loadGamepadMappings(pads, "gamecontrollerdb.txt");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.console);
        EXPECT_EQ(pads.mappings, c.console.empty() ? c.file : "");
    }
}
