// Which config.ini the game reads: the working directory's, else the user's configuration folder.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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
        EXPECT_EQ(configSavePath(), c.expected) << "the game saves where it read";
    }
    unsetenv("XDG_CONFIG_HOME");
}

// Root, who runs the tests, may write into any folder but not into a file system mounted read-only.
TEST(ConfigFolder, SettingsReadFromAWorkingDirectoryClosedToTheGameAreSavedInTheUsersFolder)
{
    TempDir dir;
    if (mount("tmpfs", dir.path.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a file system to close (" << std::strerror(errno) << ")";
    dir.write("config.ini", "WIDTH=640\n");
    EXPECT_EQ(mount(nullptr, dir.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
    std::filesystem::current_path(dir.path);
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(configFilePath(), "config.ini");
    EXPECT_EQ(configSavePath(), "/xdg/vellmar/config.ini");
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::current_path("/");
    EXPECT_EQ(umount(dir.path.c_str()), 0) << std::strerror(errno);
}
