// Saving settings into config.ini: every other byte kept, the changed key on the line that wins,
// and a failure at any step of the write leaving the old file whole with one console line.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "TempDir.h"
#include "app/ConfigWriter.h"

namespace {

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::filesystem::is_directory(path) ? "" : std::string(std::istreambuf_iterator<char>(in), {});
}

// Fails step n of a save (0 open, 1 write, 2 fsync, 3 close, 4 rename) with failError.
int failStep = -1, failError = 0;
bool fails(int step) { return step == failStep && (errno = failError, true); }

}  // namespace

TEST(ConfigWriter, OnlyTheChangedKeyOnTheLineThatWinsChangesOrItIsAppended)
{
    const struct { std::string before, after; } cases[] = {
        {"", "VOLUME=35\n"},
        {"# mine\r\nVOLUME=80\r\nODD=1\r\n\r\n", "# mine\r\nVOLUME=35\r\nODD=1\r\n\r\n"},
        {"\xEF\xBB\xBFVOLUME=80\nWIDTH=5", "\xEF\xBB\xBFVOLUME=35\nWIDTH=5"},
        {"VOLUME=10\nVOLUME= 20 loud\nVOLUME=999\nVOLUME=x\n", "VOLUME=10\nVOLUME=35\nVOLUME=999\nVOLUME=x\n"},
        {"WIDTH=5\r\nvolume=1\r\n VOLUME=2", "WIDTH=5\r\nvolume=1\r\n VOLUME=2\r\nVOLUME=35\r\n"},
        {"VOLUME=1" + std::string(5000, ' ') + "\n", "VOLUME=1" + std::string(5000, ' ') + "\nVOLUME=35\n"},
    };
    int values[settingCount];
    currentSettings(values);
    values[firstPlayerSetting] = 35;
    const bool changed[settingCount] = {false, false, false, false, true};
    for (const auto& c : cases)
        EXPECT_EQ(rewriteConfig(c.before, values, changed), c.after) << c.before.substr(0, 30);
    const bool two[settingCount] = {true, false, false, false, true};  // the first rewritten line grows
    EXPECT_EQ(rewriteConfig("WIDTH=5\nVOLUME=80\n", values, two), "WIDTH=" + std::to_string(values[0]) + "\nVOLUME=35\n");
}

TEST(ConfigWriter, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBeside)
{
    fileCalls = {
        [](const char* p, int f, mode_t m) { return fails(0) ? -1 : systemFileCalls.open(p, f, m); },
        // Short writes, as a signal or a nearly full disk gives them: the rest must follow.
        [](int d, const void* b, std::size_t n) {
            return fails(1) ? ssize_t(-1) : systemFileCalls.write(d, b, std::min<std::size_t>(n, 5));
        },
        [](int d) { return fails(2) ? -1 : systemFileCalls.fsync(d); },
        [](int d) { return fails(3) ? -1 : systemFileCalls.close(d); },
        [](const char* a, const char* b) { return fails(4) ? -1 : systemFileCalls.rename(a, b); },
    };
    const bool changed[settingCount] = {false, false, false, false, true};  // VOLUME
    volume = 35;
    const std::string old = "# keep\nVOLUME=80\n";
    for (int step = -1; step <= 6; ++step) {
        TempDir dir;
        dir.write("target/config.ini", old);
        std::filesystem::create_symlink("target/config.ini", "config.ini");
        if (step == 5 || step < 0)  // read-only, or a file of its owner's alone that is saved as such
            std::filesystem::permissions("target/config.ini", std::filesystem::perms(step < 0 ? 0600 : 0400));
        if (step == 6)
            std::filesystem::remove("target/config.ini"), std::filesystem::create_directory("target/config.ini");
        failStep = step, failError = step == 1 ? ENOSPC : EIO;
        testing::internal::CaptureStdout();
        const bool saved = saveSettings("config.ini", changed);
        const std::string console = testing::internal::GetCapturedStdout();
        EXPECT_EQ(saved, step < 0) << step;
        EXPECT_EQ(contents("target/config.ini"), step < 0 ? "# keep\nVOLUME=35\n" : step == 6 ? "" : old) << step;
        EXPECT_TRUE(step >= 0 || std::filesystem::status("target/config.ini").permissions() == std::filesystem::perms(0600));
        EXPECT_TRUE(std::filesystem::is_symlink("config.ini")) << "written through the link";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("target"), {}), 1) << step;
        EXPECT_EQ(console.find("The settings were not saved in " + (dir.path / "target/config.ini").string()),
                  step < 0 ? std::string::npos : 0) << console;
        EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), step < 0 ? 0 : 1) << console;
    }
    fileCalls = systemFileCalls, failStep = -1, volume = 80;
}

// A disk really full, on a small file system of its own where the machine lets a test mount one.
TEST(ConfigWriter, OnAFullDiskTheSaveSaysSoInOneLineAndKeepsTheOldFileWhole)
{
    TempDir dir;
    if (mount("tmpfs", dir.path.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system to fill (" << std::strerror(errno) << ")";
    const std::string old = "# keep\nVOLUME=80\n";
    dir.write("config.ini", old);
    std::ofstream(dir.path / "filler", std::ios::binary) << std::string(64 * 1024, 'x');  // fills what is left
    const bool changed[settingCount] = {false, false, false, false, true};  // VOLUME
    volume = 35;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveSettings(dir.path / "config.ini", changed));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "The settings were not saved in " + (dir.path / "config.ini").string() +
                                                          ": writing failed (" + std::strerror(ENOSPC) + ")\n");
    volume = 80;
    EXPECT_EQ(contents(dir.path / "config.ini"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2) << "only config.ini and the filler";
    EXPECT_EQ(umount(dir.path.c_str()), 0) << std::strerror(errno);
}
