#pragma once
// A throw-away working directory for tests that read files relative to it.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/vellmar-test-XXXXXX";
        path = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    ~TempDir()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    void write(const std::string& name, const std::string& contents) const
    {
        std::filesystem::create_directories(std::filesystem::path(path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << contents;
    }

    std::filesystem::path path;

private:
    std::filesystem::path previous;
};
