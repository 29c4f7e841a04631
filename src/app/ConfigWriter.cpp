#include "app/ConfigWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/Bindings.h"
#include "core/Console.h"

namespace {

int openFile(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

constexpr const char* byteOrderMark = "\xEF\xBB\xBF";

// One line as the reader sees it: text[begin, end), the line feed left out.
struct Line {
    std::size_t begin;
    std::size_t end;
};

// The lines the reader reads: it stops at the byte past configLargestFile, and a line cut there is
// not read.
std::vector<Line> readLines(const std::string& text)
{
    std::vector<Line> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t feed = text.find('\n', begin);
        if (feed == std::string::npos ? text.size() > configLargestFile : feed >= configLargestFile)
            break;
        const std::size_t end = feed == std::string::npos ? text.size() : feed;
        lines.push_back({begin, end});
        begin = end + 1;
    }
    return lines;
}

}  // namespace

const FileCalls systemFileCalls = {openFile, ::write, ::fsync, ::close, ::rename};
FileCalls fileCalls = systemFileCalls;

std::string rewriteConfig(const std::string& text, const int values[settingCount], const bool changed[settingCount],
                          const bool keysChanged[commandCount])
{
    const std::vector<Line> lines = readLines(text);
    // Where each changed key's value is rewritten: its last line the reader takes, from the first
    // byte after a byte-order mark up to a carriage return before the line feed.
    struct Replacement {
        std::size_t begin;
        std::size_t end;
        int index;
    };
    std::vector<Replacement> replacements;
    std::string appended;
    const std::size_t firstFeed = text.find('\n');
    const char* ending = firstFeed != std::string::npos && firstFeed > 0 && text[firstFeed - 1] == '\r' ? "\r\n" : "\n";
    // The settings, then the commands' KEY_ lines: a KEY_ line is the reader's whatever its key.
    auto lineFor = [&](int index) {
        if (index < settingCount)
            return std::string(settingKeys[index]) + "=" + std::to_string(values[index]);
        return std::string(commandSettings[index - settingCount]) + "=" + keyName(boundKeys[index - settingCount]);
    };
    auto takes = [&](const std::string& line, int index) {
        if (index < settingCount)
            return lineSetsSetting(line, index);
        const std::string name = std::string(commandSettings[index - settingCount]) + "=";
        return line.compare(0, name.size(), name) == 0;
    };
    for (int index = 0; index < settingCount + commandCount; ++index) {
        if (index < settingCount ? !changed[index] : !keysChanged || !keysChanged[index - settingCount])
            continue;
        const std::string line = lineFor(index);
        bool found = false;
        for (std::size_t i = lines.size(); i-- > 0 && !found;) {
            std::size_t begin = lines[i].begin;
            std::size_t end = lines[i].end;
            if (end - begin > configLongestLine)
                continue;
            if (i == 0 && text.compare(0, 3, byteOrderMark) == 0)
                begin += 3;
            if (!takes(text.substr(begin, end - begin), index))
                continue;
            if (text[end - 1] == '\r')
                --end;
            replacements.push_back({begin, end, index});
            found = true;
        }
        if (!found)
            appended += line + ending;
    }
    std::string result = text;
    // From the back, so the earlier positions still hold.
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.begin > b.begin; });
    for (const Replacement& r : replacements)
        result.replace(r.begin, r.end - r.begin, lineFor(r.index));
    if (!appended.empty() && !result.empty() && result.back() != '\n')
        result += ending;
    return result + appended;
}

bool saveSettings(const std::filesystem::path& path, const bool changed[settingCount], const bool keysChanged[commandCount])
{
    std::error_code error;
    std::filesystem::path target = path;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, error); ++hops) {
        const std::filesystem::path link = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    auto fail = [&](const std::string& why) {
        notice("The settings were not saved in %s: %s", std::filesystem::absolute(target, error).c_str(), why.c_str());
        return false;
    };

    std::string text;
    mode_t mode = 0644;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return fail("a folder stands in its place");
        if (!S_ISREG(info.st_mode))
            return fail("it is not a plain file");
        // Even a user who may write anything keeps a file that was made read-only as it is.
        if ((info.st_mode & 0222) == 0)
            return fail("the file is read-only");
        mode = info.st_mode & 07777;
        std::ifstream in(target, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.is_open() || in.bad())
            return fail("it cannot be read");
    }
    int values[settingCount];
    currentSettings(values);
    const std::string updated = rewriteConfig(text, values, changed, keysChanged);

    if (!target.parent_path().empty())
        std::filesystem::create_directories(target.parent_path(), error);
    const std::string beside = target.string() + ".saving-" + std::to_string(::getpid());
    const int descriptor = fileCalls.open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0)
        return fail(std::string("cannot write beside it (") + std::strerror(errno) + ")");
    const char* failedStep = nullptr;
    int failure = 0;
    auto check = [&](bool ok, const char* step) {
        if (!ok && !failedStep) {
            failedStep = step;
            failure = errno;
        }
    };
    for (std::size_t done = 0; !failedStep && done < updated.size();) {
        const ssize_t written = fileCalls.write(descriptor, updated.data() + done, updated.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
        check(written > 0, "writing");
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    if (!failedStep)
        check(fileCalls.fsync(descriptor) == 0, "flushing to disk");
    check(fileCalls.close(descriptor) == 0, "closing");
    if (!failedStep)
        check(fileCalls.rename(beside.c_str(), target.c_str()) == 0, "renaming over it");
    if (failedStep) {
        ::unlink(beside.c_str());
        return fail(std::string(failedStep) + " failed (" + std::strerror(failure) + ")");
    }
    return true;
}
