#pragma once
// What the benchmarks read of their own process: start time, processor time, memory and the
// machine's load (the percentiles of a series of timings are the game's own, core/FrameTimes.h).
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/FrameTimes.h"

namespace {

// Seconds since the process was started by the kernel (10 ms resolution), from /proc.
double secondsSinceProcessStart()
{
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // Field 22 (start time in clock ticks after boot) counts from the field after the command name.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    const double startTicks = std::stod(field);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec * 1e-9 - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long statusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    }
    return -1;
}

// Resident memory split by where it lives: the heap and other anonymous memory are the program's
// (and its libraries') allocations; the renderer's compiler (libLLVM, under Mesa's llvmpipe) and
// the other mapped files are code and data of shared libraries, resident as far as they were run.
struct ResidentKinds {
    long heapKilobytes = 0;
    long compilerKilobytes = 0;
    long otherFileKilobytes = 0;
};

ResidentKinds residentKinds()
{
    ResidentKinds kinds;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    long* current = &kinds.heapKilobytes;
    while (std::getline(smaps, line)) {
        if (line.rfind("Rss:", 0) == 0) {
            *current += std::atol(line.c_str() + 4);
            continue;
        }
        // A mapping's header: "start-end perms offset device inode [path]"; its fields follow it.
        const size_t dash = line.find('-');
        if (dash == std::string::npos || dash == 0 || line.find_first_not_of("0123456789abcdef") != dash)
            continue;
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode >> path;
        if (path.empty() || path[0] == '[')
            current = &kinds.heapKilobytes;
        else if (path.find("/libLLVM") != std::string::npos)
            current = &kinds.compilerKilobytes;
        else
            current = &kinds.otherFileKilobytes;
    }
    return kinds;
}

double loadAverage()
{
    double load = 0.0;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

double clockMicros(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1e6 + t.tv_nsec * 1e-3;
}

// Processor time of all the process's threads (the renderer's own threads included): unlike the
// wall clock, it does not grow when other programs share the processor.
double processMicros() { return clockMicros(CLOCK_PROCESS_CPUTIME_ID); }

// The calling thread's processor time. The game's thread and the renderer's threads take turns
// (the renderer draws while the game waits), so this part of a frame never runs beside the drawing.
double threadMicros() { return clockMicros(CLOCK_THREAD_CPUTIME_ID); }

}  // namespace
