#include "app/RunFolder.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/Console.h"

// VELLMAR_DATA_FROM_BINARY, where an installed game keeps its files relative to the binary's folder,
// is set by the install rules of the top CMakeLists.txt.

namespace {

bool holdsGameFiles(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(folder / "Shader", error) &&
           std::filesystem::is_directory(folder / "Scene", error);
}

}  // namespace

void enterRunFolder()
{
    if (holdsGameFiles("."))
        return;
    std::error_code error;
    std::vector<std::filesystem::path> looked{std::filesystem::current_path(error)};
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        looked.push_back(executable.parent_path());
        looked.push_back((executable.parent_path() / VELLMAR_DATA_FROM_BINARY).lexically_normal());
    }
    for (std::size_t i = 1; i < looked.size(); ++i) {
        if (holdsGameFiles(looked[i]) && chdir(looked[i].c_str()) == 0) {
            notice("The game's files are not in the working directory; using those in %s", looked[i].c_str());
            return;
        }
    }
    std::string places;
    for (std::size_t i = 0; i < looked.size(); ++i)
        if (i == 0 || looked[i] != looked[i - 1])
            places += (i == 0 ? "" : ", ") + looked[i].string();
    fatalError("The game's files (Shader/ and Scene/) are in none of: " + places);
}
