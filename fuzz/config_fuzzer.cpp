// libFuzzer target for the configuration reader: each input becomes config.ini in a private
// folder, which is the working directory while readConfig reads it as the game does at start-up. Run from the build
// folder of a clang build:
//   ./fuzz/config_fuzzer -max_total_time=600 ../fuzz/corpus/config
// A setting whose key starts no line must keep its default.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Config.h"

namespace {

std::string workDir;
// The fuzzer's own folder: libFuzzer reads and writes its corpus relative to it.
int startDir = -1;

void removeWorkDir()
{
    std::remove((workDir + "/config.ini").c_str());
    rmdir(workDir.c_str());
}

bool someLineStartsWith(const uint8_t* data, size_t size, const char* key)
{
    const size_t keyLength = std::strlen(key);
    // A byte-order mark in front of the first line is not part of it.
    size_t lineStart = size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n') {
            if (i - lineStart >= keyLength && std::memcmp(data + lineStart, key, keyLength) == 0)
                return true;
            lineStart = i + 1;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-config-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    workDir = pattern;
    startDir = open(".", O_RDONLY | O_DIRECTORY);
    if (startDir < 0)
        std::abort();
    std::atexit(removeWorkDir);
    // The reader's summary would drown the fuzzer's own output.
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen((workDir + "/config.ini").c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);

    if (chdir(workDir.c_str()) != 0)
        std::abort();
    readConfig();
    if (fchdir(startDir) != 0)
        std::abort();

    if (!someLineStartsWith(data, size, "WIDTH=") && screenWidth != 800)
        std::abort();
    if (!someLineStartsWith(data, size, "HEIGHT=") && screenHeight != 600)
        std::abort();
    if (!someLineStartsWith(data, size, "REFRESH_RATE=") && refreshRate != 60)
        std::abort();
    if (!someLineStartsWith(data, size, "FULLSCREEN=") && fullscreen)
        std::abort();
    return 0;
}
