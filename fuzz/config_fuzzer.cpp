// libFuzzer target for the configuration reader: each input becomes config.ini in a private folder,
// read as the game does at start-up. A setting whose key starts no line keeps its default.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Config.h"

namespace {

std::string workDir;
int startDir = -1;  // libFuzzer keeps its corpus relative to it

bool someLineStartsWith(const uint8_t* data, size_t size, const char* key)
{
    const size_t keyLength = std::strlen(key);
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

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/vellmar-config-fuzz-XXXXXX";
    check(mkdtemp(pattern) != nullptr);
    workDir = pattern;
    startDir = open(".", O_RDONLY | O_DIRECTORY);
    check(startDir >= 0 && std::freopen("/dev/null", "w", stdout) != nullptr);
    std::atexit([] { std::remove((workDir + "/config.ini").c_str()), rmdir(workDir.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen((workDir + "/config.ini").c_str(), "wb");
    check(file && (size == 0 || std::fwrite(data, 1, size, file) == size));
    std::fclose(file);
    check(chdir(workDir.c_str()) == 0);
    readConfig();
    check(fchdir(startDir) == 0);
    check(someLineStartsWith(data, size, "WIDTH=") || screenWidth == 800);
    check(someLineStartsWith(data, size, "HEIGHT=") || screenHeight == 600);
    check(someLineStartsWith(data, size, "REFRESH_RATE=") || refreshRate == 60);
    check(someLineStartsWith(data, size, "FULLSCREEN=") || !fullscreen);
    return 0;
}
