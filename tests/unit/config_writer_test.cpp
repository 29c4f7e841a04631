// Saving settings into config.ini: every other byte kept, the changed key on the line that wins,
// and a failure at any step of the write leaving the old file whole with one console line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

#include "TempDir.h"
#include "app/ConfigWriter.h"

namespace {

std::string contents(const std::filesystem::path& path)
{
    if (std::filesystem::is_directory(path))
        return "";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Fails the n-th step of a save (0 open, 1 write, 2 fsync, 3 close, 4 rename) with `failError`.
int failStep = -1;
int failError = 0;
template <int step, typename Result, typename... Args>
Result failing(Result (*real)(Args...), Args... args)
{
    if (step == failStep) {
        errno = failError;
        return -1;
    }
    return real(args...);
}

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
    bool changed[settingCount] = {};
    changed[firstPlayerSetting] = true;
    for (const auto& c : cases)
        EXPECT_EQ(rewriteConfig(c.before, values, changed), c.after) << c.before.substr(0, 30);
}

TEST(ConfigWriter, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBeside)
{
    FileCalls failingCalls = {
        [](const char* p, int f, mode_t m) { return failing<0>(systemFileCalls.open, p, f, m); },
        [](int d, const void* b, std::size_t n) { return failing<1>(systemFileCalls.write, d, b, n); },
        [](int d) { return failing<2>(systemFileCalls.fsync, d); },
        [](int d) { return failing<3>(systemFileCalls.close, d); },
        [](const char* a, const char* b) { return failing<4>(systemFileCalls.rename, a, b); },
    };
    fileCalls = failingCalls;
    bool changed[settingCount] = {};
    changed[firstPlayerSetting] = true;
    volume = 35;
    const std::string old = "# keep\nVOLUME=80\n";
    for (int step = -1; step <= 6; ++step) {
        TempDir dir;
        dir.write("target/config.ini", old);
        std::filesystem::create_symlink("target/config.ini", "config.ini");
        if (step == 5)
            std::filesystem::permissions("target/config.ini", std::filesystem::perms::owner_read);
        if (step == 6)
            std::filesystem::remove("target/config.ini"), std::filesystem::create_directory("target/config.ini");
        failStep = step, failError = step == 1 ? ENOSPC : EIO;
        testing::internal::CaptureStdout();
        const bool saved = saveSettings("config.ini", changed);
        const std::string console = testing::internal::GetCapturedStdout();
        EXPECT_EQ(saved, step < 0) << step;
        EXPECT_EQ(contents("target/config.ini"), step < 0 ? "# keep\nVOLUME=35\n" : step == 6 ? "" : old) << step;
        EXPECT_TRUE(std::filesystem::is_symlink("config.ini")) << "written through the link";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("target"), {}), 1) << step;
        EXPECT_EQ(console.find("The settings were not saved in " + (dir.path / "target/config.ini").string()),
                  step < 0 ? std::string::npos : 0) << console;
        EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), step < 0 ? 0 : 1) << console;
    }
    fileCalls = systemFileCalls;
    failStep = -1;
    volume = 80;
}
