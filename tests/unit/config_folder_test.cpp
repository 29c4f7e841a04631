// Which config.ini the game reads: the working directory's, else the user's configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"
#include "app/ConfigFolder.h"

TEST(ConfigFolder, TheWorkingDirectorysFileFirstThenTheUsersFolder)
{
    const struct {
        const char* configHome;  // nullptr: unset
        bool fileHere, folderHere;
        const char* expected;
    } cases[] = {
        {"/xdg", true, false, "config.ini"},           {"/xdg", false, true, "config.ini"},
        {"/xdg", false, false, "/xdg/vellmar/config.ini"}, {nullptr, false, false, "/home/p/.config/vellmar/config.ini"},
        {"", false, false, "/home/p/.config/vellmar/config.ini"},
        {"xdg", false, false, "/home/p/.config/vellmar/config.ini"},
    };
    setenv("HOME", "/home/p", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configHome ? c.configHome : "unset");
        TempDir dir;
        if (c.fileHere)
            dir.write("config.ini", "WIDTH=640\n");
        if (c.folderHere)
            std::filesystem::create_directory(dir.path / "config.ini");
        c.configHome ? setenv("XDG_CONFIG_HOME", c.configHome, 1) : unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(configFilePath(), c.expected);
        // The game saves where it read (a folder closed to the game cannot be made as root, who runs the tests).
        EXPECT_EQ(configSavePath(), c.expected);
    }
    unsetenv("XDG_CONFIG_HOME");
}
